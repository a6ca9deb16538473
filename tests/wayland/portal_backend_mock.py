'''A desktop's portal backend for Brisko's tests, loaded with
python3 -m dbusmock --template portal_backend_mock.py

It serves org.freedesktop.impl.portal.GlobalShortcuts and RemoteDesktop for the real
xdg-desktop-portal frontend, records every call (org.freedesktop.DBus.Mock.GetCalls) and is
steered through org.brisko.PortalMock: the trigger the desktop gives a shortcut, a refused bind,
Activated for a shortcut id on demand (the moment each went out kept for the latency bench),
and the user's RemoteDesktop grants (asked at Start unless restore_data names a grant that
stands; returned as restore_data under a persist_mode).
'''

import time

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
    mock.emitted = []        # CLOCK_MONOTONIC (ns) as each Activated went out

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
    # RemoteDesktop: the user is asked at Start unless SelectDevices brought the restore data
    # of a grant that still stands; with a persist_mode the grant comes back as restore data.
    mock.grants = set()      # grants the user gave and did not revoke
    mock.remote = {}         # session -> {'persist': mode, 'grant': restored grant}
    mock.asked = 0
    mock.restored = []       # per SelectDevices: the grant its restore data named, '-' none
    remote = 'org.freedesktop.impl.portal.RemoteDesktop'
    mock.AddMethods(remote, [
        ('CreateSession', 'oosa{sv}', 'ua{sv}',
         'ret = (dbus.UInt32(0), dbus.Dictionary({"session_id": "rd"}, signature="sv"))'),
        ('SelectDevices', 'oosa{sv}', 'ua{sv}',
         'ret = self.select_devices(args[1], args[3])'),
        ('Start', 'oossa{sv}', 'ua{sv}', 'ret = self.start_remote(args[1])'),
        ('NotifyKeyboardKeysym', 'oa{sv}iu', '',
         'self.keys.append("%x%s" % (args[2], "+" if args[3] else "-"))'),
    ])
    mock.AddProperty(remote, 'AvailableDeviceTypes', dbus.UInt32(7))
    mock.AddProperty(remote, 'version', dbus.UInt32(1))
    mock.AddMethods(CONTROL_IFACE, [
        ('SetTrigger', 'ss', '', 'self.triggers[args[0]] = args[1]'),
        ('SetBindResponse', 'u', '', 'self.bind_response = int(args[0])'),
        ('Activate', 's', '', 'self.activate(args[0])'),
        ('Emitted', '', 's', 'ret = " ".join(str(t) for t in self.emitted)'),
        ('Keys', '', 's', 'ret = " ".join(self.keys)'),
        ('ClearKeys', '', '', 'self.keys.clear()'),
        ('Asked', '', 'u', 'ret = dbus.UInt32(self.asked)'),
        ('Restored', '', 's', 'ret = " ".join(self.restored)'),
        ('RevokeGrants', '', '', 'self.grants.clear()'),
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

    def activate(sid):
        mock.EmitSignal(MAIN_IFACE, 'Activated', 'osta{sv}',
                        [mock.sessions[-1], sid, dbus.UInt64(0),
                         dbus.Dictionary({}, signature='sv')])
        mock.emitted.append(time.monotonic_ns())

    def select_devices(session, options):
        data = options.get('restore_data')
        grant = str(data[2]) if data is not None and str(data[0]) == 'briskotest' else None
        mock.restored.append(grant or '-')
        mock.remote[str(session)] = {'persist': int(options.get('persist_mode', 0)),
                                     'grant': grant}
        return (dbus.UInt32(0), dbus.Dictionary({}, signature='sv'))

    def start_remote(session):
        state = mock.remote.get(str(session), {'persist': 0, 'grant': None})
        grant = state['grant']
        if grant not in mock.grants:
            mock.asked += 1
            grant = 'grant%d' % mock.asked
            mock.grants.add(grant)
        results = {'devices': dbus.UInt32(1)}
        if state['persist']:
            results['restore_data'] = dbus.Struct(
                ('briskotest', dbus.UInt32(1), dbus.String(grant, variant_level=1)),
                signature='suv')
            results['persist_mode'] = dbus.UInt32(state['persist'])
        return (dbus.UInt32(0), dbus.Dictionary(results, signature='sv'))

    mock.activate = activate
    mock.select_devices = select_devices
    mock.start_remote = start_remote
    mock.last_bound = last_bound
    mock.shortcut_list = shortcut_list
    mock.bind_shortcuts = bind_shortcuts
