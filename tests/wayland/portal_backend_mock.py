'''A desktop's portal backend for Brisko's tests, loaded with
python3 -m dbusmock --template portal_backend_mock.py

It serves org.freedesktop.impl.portal.GlobalShortcuts for the real xdg-desktop-portal
frontend, records every call (org.freedesktop.DBus.Mock.GetCalls) and is steered through
org.brisko.PortalMock: the trigger the desktop gives a shortcut, a refused bind, and
Activated for a shortcut id on demand.
'''

import dbus

BUS_NAME = 'org.freedesktop.impl.portal.desktop.briskotest'
MAIN_OBJ = '/org/freedesktop/portal/desktop'
MAIN_IFACE = 'org.freedesktop.impl.portal.GlobalShortcuts'
SYSTEM_BUS = False
CONTROL_IFACE = 'org.brisko.PortalMock'


def load(mock, parameters):
    mock.triggers = {}       # shortcut id -> trigger the desktop gives it ('' none)
    mock.bind_response = 0   # 0 bound, 1 cancelled, 2 refused
    mock.sessions = []
    mock.bound = {}          # session -> [(id, options)]
    mock.bind_calls = 0

    mock.AddMethods(MAIN_IFACE, [
        ('CreateSession', 'oosa{sv}', 'ua{sv}',
         'self.sessions.append(str(args[1]))\n'
         'ret = (dbus.UInt32(0), dbus.Dictionary({"session_handle": dbus.String(args[1])}, signature="sv"))'),
        ('BindShortcuts', 'ooa(sa{sv})sa{sv}', 'ua{sv}',
         'ret = self.bind_shortcuts(args[1], args[2])'),
        ('ListShortcuts', 'oo', 'ua{sv}',
         'ret = (dbus.UInt32(0), {"shortcuts": self.shortcut_list(self.bound.get(str(args[1]), []))})'),
    ])
    mock.AddProperty(MAIN_IFACE, 'version', dbus.UInt32(1))

    mock.keys = []
    remote = 'org.freedesktop.impl.portal.RemoteDesktop'
    mock.AddMethods(remote, [
        ('CreateSession', 'oosa{sv}', 'ua{sv}',
         'ret = (dbus.UInt32(0), dbus.Dictionary({"session_id": "rd"}, signature="sv"))'),
        ('SelectDevices', 'oosa{sv}', 'ua{sv}',
         'ret = (dbus.UInt32(0), dbus.Dictionary({}, signature="sv"))'),
        ('Start', 'oossa{sv}', 'ua{sv}',
         'ret = (dbus.UInt32(0), dbus.Dictionary({"devices": dbus.UInt32(1)}, signature="sv"))'),
        ('NotifyKeyboardKeysym', 'oa{sv}iu', '',
         'self.keys.append("%x%s" % (args[2], "+" if args[3] else "-"))'),
    ])
    mock.AddProperty(remote, 'AvailableDeviceTypes', dbus.UInt32(7))
    mock.AddProperty(remote, 'version', dbus.UInt32(1))
    mock.AddMethods(CONTROL_IFACE, [
        ('SetTrigger', 'ss', '', 'self.triggers[args[0]] = args[1]'),
        ('SetBindResponse', 'u', '', 'self.bind_response = int(args[0])'),
        ('Activate', 's', '',
         'self.EmitSignal("org.freedesktop.impl.portal.GlobalShortcuts", "Activated", "osta{sv}", '
         '[self.sessions[-1], args[0], dbus.UInt64(0), dbus.Dictionary({}, signature="sv")])'),
        ('Keys', '', 's', 'ret = " ".join(self.keys)'),
        ('BindCalls', '', 'u', 'ret = dbus.UInt32(self.bind_calls)'),
        ('SessionCount', '', 'u', 'ret = dbus.UInt32(len(self.sessions))'),
        ('LastBound', '', 's', 'ret = self.last_bound()'),
        ('ChangeTrigger', 'ss', '',
         'self.triggers[args[0]] = args[1]\n'
         'self.EmitSignal("org.freedesktop.impl.portal.GlobalShortcuts", "ShortcutsChanged", "oa(sa{sv})", '
         '[self.sessions[-1], self.shortcut_list(self.bound.get(self.sessions[-1], []))])'),
    ])

    def shortcut_list(shortcuts):
        out = dbus.Array([], signature='(sa{sv})')
        for sid, options in shortcuts:
            trigger = mock.triggers.get(str(sid), str(options.get('preferred_trigger', '')))
            if trigger == '-':
                continue  # the desktop left this one out
            out.append(dbus.Struct((sid, dbus.Dictionary({
                'description': options.get('description', ''),
                'trigger_description': dbus.String(trigger)}, signature='sv'))))
        return out

    def bind_shortcuts(session, shortcuts):
        mock.bind_calls += 1
        if mock.bind_response != 0:
            return (dbus.UInt32(mock.bind_response), dbus.Dictionary({}, signature='sv'))
        mock.bound[str(session)] = [(str(s[0]), dict(s[1])) for s in shortcuts]
        return (dbus.UInt32(0), dbus.Dictionary(
            {'shortcuts': shortcut_list(mock.bound[str(session)])}, signature='sv'))

    def last_bound():
        shortcuts = mock.bound.get(mock.sessions[-1], []) if mock.sessions else []
        return ';'.join('%s=%s@%s' % (sid, options.get('description', ''),
                                      options.get('preferred_trigger', ''))
                        for sid, options in shortcuts)

    mock.last_bound = last_bound
    mock.shortcut_list = shortcut_list
    mock.bind_shortcuts = bind_shortcuts
