'''The desktop's panel for Brisko's tests, loaded with
python3 -m dbusmock --template panel_mock.py

A StatusNotifierWatcher with a host registered, so that Qt puts its tray icon on the bus as a
StatusNotifierItem; a notification server, which shows the tray's balloons there (the calls
of both are recorded: org.freedesktop.DBus.Mock.GetCalls on their objects); and the
accessibility bus's address service pointing at this same session bus, so that the program's
windows can be read and driven through AT-SPI (panel_driver.py) where no input can be faked.
'''

import os

import dbus
import dbus.service
from dbusmock import mockobject

BUS_NAME = 'org.kde.StatusNotifierWatcher'
MAIN_OBJ = '/StatusNotifierWatcher'
MAIN_IFACE = 'org.kde.StatusNotifierWatcher'
SYSTEM_BUS = False


def load(mock, parameters):
    mock.AddMethods(MAIN_IFACE, [
        ('RegisterStatusNotifierItem', 's', '', ''),
        ('RegisterStatusNotifierHost', 's', '', ''),
    ])
    mock.AddProperty(MAIN_IFACE, 'IsStatusNotifierHostRegistered', dbus.Boolean(True))
    mock.AddProperty(MAIN_IFACE, 'ProtocolVersion', dbus.Int32(0))
    mock.AddProperty(MAIN_IFACE, 'RegisteredStatusNotifierItems', dbus.Array([], signature='s'))

    notifications = 'org.freedesktop.Notifications'
    mock.AddObject('/org/freedesktop/Notifications', notifications, {}, [
        ('Notify', 'susssasa{sv}i', 'u', 'ret = dbus.UInt32(1)'),
        ('GetCapabilities', '', 'as', 'ret = dbus.Array(["body"], signature="s")'),
        ('GetServerInformation', '', 'ssss', 'ret = ("panel", "brisko", "1", "1.2")'),
        ('CloseNotification', 'u', '', ''),
    ])
    mock.notifications_name = dbus.service.BusName(notifications, mock.bus_name.get_bus(),
                                                   allow_replacement=False, do_not_queue=True)
    mock.AddObject('/org/a11y/bus', 'org.a11y.Bus', {}, [
        ('GetAddress', '', 's',
         'ret = "%s"' % os.environ['DBUS_SESSION_BUS_ADDRESS']),
    ])
    mockobject.objects['/org/a11y/bus'].AddProperty('org.a11y.Status', 'IsEnabled',
                                                    dbus.Boolean(True))
    mockobject.objects['/org/a11y/bus'].AddProperty('org.a11y.Status', 'ScreenReaderEnabled',
                                                    dbus.Boolean(False))
    # Owned last: Qt asks for the address as soon as the name appears.
    mock.a11y_name = dbus.service.BusName('org.a11y.Bus', mock.bus_name.get_bus(),
                                          allow_replacement=False, do_not_queue=True)
