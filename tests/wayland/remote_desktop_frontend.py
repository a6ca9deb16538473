'''The RemoteDesktop portal as xdg-desktop-portal 1.17 and later offer it, for Brisko's tests.

Debian 12's frontend (1.16) drops restore_token and persist_mode from SelectDevices and hands
the desktop's restore_data to the client untouched, so a restore token can never make the round
trip through it. This stand-in does what the newer frontends do and nothing more: it forwards
CreateSession, SelectDevices, Start and NotifyKeyboardKeysym to the desktop's backend (the mock
in portal_backend_mock.py), puts the restore_data of a known token into SelectDevices, keeps the
desktop's restore_data under a UUID token that the client gets from Start, and refuses a token
that is not a UUID. Usage: python3 remote_desktop_frontend.py (on DBUS_SESSION_BUS_ADDRESS).
'''

import uuid

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = 'org.freedesktop.portal.Desktop'
PATH = '/org/freedesktop/portal/desktop'
IFACE = 'org.freedesktop.portal.RemoteDesktop'
BACKEND = 'org.freedesktop.impl.portal.desktop.briskotest'
IMPL = 'org.freedesktop.impl.portal.RemoteDesktop'


def caller_path(kind, sender, token):
    return '%s/%s/%s/%s' % (PATH, kind, sender[1:].replace('.', '_'), token)


class Frontend(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.impl = dbus.Interface(bus.get_object(BACKEND, PATH), IMPL)
        self.stored = {}    # token -> the desktop's restore_data
        self.sessions = {}  # session -> {'token': token restored, 'persist': mode}

    def respond(self, request, answer):
        def emit():
            code, results = answer
            message = dbus.lowlevel.SignalMessage(request, 'org.freedesktop.portal.Request',
                                                  'Response')
            message.append(dbus.UInt32(code), dbus.Dictionary(results, signature='sv'),
                           signature='ua{sv}')
            self.bus.send_message(message)
            return False
        GLib.idle_add(emit)
        return dbus.ObjectPath(request)

    @dbus.service.method(IFACE, in_signature='a{sv}', out_signature='o', sender_keyword='sender')
    def CreateSession(self, options, sender):
        request = caller_path('request', sender, options['handle_token'])
        session = caller_path('session', sender, options['session_handle_token'])
        code, _ = self.impl.CreateSession(request, session, '', {})
        self.sessions[session] = {'token': None, 'persist': 0}
        return self.respond(request, (code, {'session_handle': session}))

    @dbus.service.method(IFACE, in_signature='oa{sv}', out_signature='o', sender_keyword='sender')
    def SelectDevices(self, session, options, sender):
        request = caller_path('request', sender, options['handle_token'])
        forwarded = {'types': options.get('types', dbus.UInt32(7))}
        token = options.get('restore_token')
        if token is not None:
            try:
                uuid.UUID(str(token))
            except ValueError:
                raise dbus.exceptions.DBusException(
                    'Restore token is not a valid UUID string',
                    name='org.freedesktop.portal.Error.InvalidArgument')
            data = self.stored.pop(str(token), None)
            if data is not None:
                forwarded['restore_data'] = data
                self.sessions[str(session)]['token'] = str(token)
        persist = int(options.get('persist_mode', 0))
        self.sessions[str(session)]['persist'] = persist
        forwarded['persist_mode'] = dbus.UInt32(persist)
        return self.respond(request, self.impl.SelectDevices(request, session, '', forwarded))

    @dbus.service.method(IFACE, in_signature='osa{sv}', out_signature='o', sender_keyword='sender')
    def Start(self, session, parent, options, sender):
        request = caller_path('request', sender, options['handle_token'])
        code, results = self.impl.Start(request, session, '', parent, {})
        results = dict(results)
        data = results.pop('restore_data', None)
        persist = min(self.sessions[str(session)]['persist'], int(results.pop('persist_mode', 0)))
        if code == 0 and data is not None and persist:
            token = self.sessions[str(session)]['token'] or str(uuid.uuid4())
            self.stored[token] = data
            results['restore_token'] = token
        return self.respond(request, (code, results))

    @dbus.service.method(IFACE, in_signature='oa{sv}iu', out_signature='')
    def NotifyKeyboardKeysym(self, session, options, keysym, state):
        self.impl.NotifyKeyboardKeysym(session, options, keysym, state)


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    frontend = Frontend(bus)
    name = dbus.service.BusName(NAME, bus)
    GLib.MainLoop().run()
    del frontend, name


if __name__ == '__main__':
    main()
