"""A stand-in for the desktop's notification service on a private D-Bus bus, for the tests.

Owns org.freedesktop.Notifications on the bus at the address it is given and answers GetCapabilities
with the capabilities given (comma-separated). Prints "ready" once it owns the name, then one JSON line
per Notify call: the id it gave, replaces_id, summary, body, actions, the hints' names with their values
(image-data as its width, height and byte count). A first notification (replaces_id 0) is answered with
the signal ActionInvoked for the action named by --invoke, when one is named.
"""
import argparse
import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

SERVICE = 'org.freedesktop.Notifications'
PATH = '/org/freedesktop/Notifications'


class Notifications(dbus.service.Object):
    def __init__(self, bus, capabilities, invoke):
        super().__init__(bus, PATH)
        self.capabilities = capabilities
        self.invoke = invoke
        self.last_id = 0

    @dbus.service.method(SERVICE, in_signature='', out_signature='as')
    def GetCapabilities(self):
        return self.capabilities

    @dbus.service.method(SERVICE, in_signature='susssasa{sv}i', out_signature='u')
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout):
        if replaces_id == 0:
            self.last_id += 1
        given = replaces_id or self.last_id
        shown = {}
        for name, value in hints.items():
            if name == 'image-data':
                shown[name] = [int(value[0]), int(value[1]), len(value[6])]
            else:
                shown[name] = str(value)
        print(json.dumps({'id': int(given), 'replaces_id': int(replaces_id), 'app_name': str(app_name),
                          'summary': str(summary), 'body': str(body), 'actions': [str(a) for a in actions],
                          'hints': shown}), flush=True)
        if replaces_id == 0 and self.invoke:
            GLib.idle_add(lambda: self.ActionInvoked(dbus.UInt32(given), self.invoke) and False)
        return dbus.UInt32(given)

    @dbus.service.signal(SERVICE, signature='us')
    def ActionInvoked(self, id, action_key):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('address')
    parser.add_argument('--capabilities', default='actions,body,icon-static')
    parser.add_argument('--invoke', default='')
    options = parser.parse_args()

    DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(options.address)
    service = Notifications(bus, [c for c in options.capabilities.split(',') if c], options.invoke)
    name = dbus.service.BusName(SERVICE, bus)
    print('ready', flush=True)
    GLib.MainLoop().run()
    del service, name


if __name__ == '__main__':
    sys.exit(main())
