'''Reads and drives the program on the test's session bus, as a panel and a screen reader
would: python3 panel_driver.py COMMAND [ARGS]. Prints the answer; exits 1 when the thing asked
for is not (yet) there, so that callers can poll.

  items                 the StatusNotifierItems registered with panel_mock.py, one a line
  notes                 the notifications shown: "summary<TAB>body" per line
  menu ITEM             the item's menu: "id<TAB>label" per entry
  click ITEM ID         clicks a menu entry
  press NAME            does the first action of the first accessible object called NAME
'''

import sys

import dbus

ATSPI = 'org.a11y.atspi.'
ROOT = '/org/a11y/atspi/accessible/root'
STATE_VISIBLE = 1 << 30
MENU_ROLES = (35, 41)  # menu item, popup menu


def items(bus):
    watcher = bus.get_object('org.kde.StatusNotifierWatcher', '/StatusNotifierWatcher')
    calls = watcher.GetCalls(dbus_interface='org.freedesktop.DBus.Mock')
    return [str(args[0]) for _, method, args in calls if method == 'RegisterStatusNotifierItem']


def notes(bus):
    server = bus.get_object('org.freedesktop.Notifications', '/org/freedesktop/Notifications')
    calls = server.GetCalls(dbus_interface='org.freedesktop.DBus.Mock')
    return ['%s\t%s' % (args[3], args[4]) for _, method, args in calls if method == 'Notify']


def menu_entries(bus, item):
    props = bus.get_object(item, '/StatusNotifierItem')
    path = props.Get('org.kde.StatusNotifierItem', 'Menu',
                     dbus_interface='org.freedesktop.DBus.Properties')
    menu = bus.get_object(item, path)
    _, layout = menu.GetLayout(0, -1, dbus.Array([], signature='s'),
                               dbus_interface='com.canonical.dbusmenu')
    out = []

    def walk(node):
        entry_id, properties, children = node
        if 'label' in properties:
            out.append((int(entry_id), str(properties['label'])))
        for child in children:
            walk(child)
    walk(layout)
    return menu, out


def find(bus, name, wanted):
    '''The accessible objects of the connection called wanted, nearest to the root first.'''
    seen = set()
    queue = [(name, ROOT)]
    while queue:
        owner, path = queue.pop(0)
        if (owner, path) in seen or len(seen) > 5000:
            continue
        seen.add((owner, path))
        obj = bus.get_object(owner, path, introspect=False)
        try:
            # Hidden windows and pages are passed over with all that they hold; closed menus
            # are hidden too, but their entries can be pressed.
            if (path != ROOT and
                    not obj.GetState(dbus_interface=ATSPI + 'Accessible')[0] & STATE_VISIBLE and
                    obj.GetRole(dbus_interface=ATSPI + 'Accessible') not in MENU_ROLES):
                continue
            accessible = str(obj.Get(ATSPI + 'Accessible', 'Name',
                                     dbus_interface='org.freedesktop.DBus.Properties'))
            if accessible == wanted:
                yield obj
            children = obj.GetChildren(dbus_interface=ATSPI + 'Accessible')
        except dbus.DBusException:
            continue
        queue.extend((str(o), str(p)) for o, p in children)


def press(bus, wanted):
    '''Does the first action of the first object called wanted that has one (a label of the
    same name has none).'''
    for name in bus.list_names():
        if not str(name).startswith(':') or name == bus.get_unique_name():
            continue
        for obj in find(bus, str(name), wanted):
            try:
                if obj.DoAction(0, dbus_interface=ATSPI + 'Action'):
                    return True
            except dbus.DBusException:
                continue
    return False


def main(argv):
    bus = dbus.SessionBus()
    command = argv[1]
    if command == 'items':
        found = items(bus)
        print('\n'.join(found))
        return 0 if found else 1
    if command == 'notes':
        found = notes(bus)
        print('\n'.join(found))
        return 0 if found else 1
    if command == 'menu':
        _, entries = menu_entries(bus, argv[2])
        for entry_id, label in entries:
            print('%d\t%s' % (entry_id, label))
        return 0 if entries else 1
    if command == 'click':
        menu, _ = menu_entries(bus, argv[2])
        menu.Event(int(argv[3]), 'clicked', dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                   dbus_interface='com.canonical.dbusmenu')
        return 0
    if command == 'press':
        return 0 if press(bus, argv[2]) else 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == '__main__':
    try:
        sys.exit(main(sys.argv))
    except dbus.DBusException as error:
        print(error, file=sys.stderr)
        sys.exit(1)
