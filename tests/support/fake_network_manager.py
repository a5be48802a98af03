"""A stand-in for NetworkManager on a private D-Bus bus, for the tests.

Owns org.freedesktop.NetworkManager on the bus at the address it is given, with two devices: device 0
is connected (state 100); device 1 is disconnected (state 30), or connected too with --all-connected.
Prints "ready" once it owns the name, and one line per ActivateConnection call with its three
arguments.
"""
import argparse
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

SERVICE = 'org.freedesktop.NetworkManager'
PATH = '/org/freedesktop/NetworkManager'
DEVICE = 'org.freedesktop.NetworkManager.Device'


class Device(dbus.service.Object):
    def __init__(self, bus, path, state):
        super().__init__(bus, path)
        self.state = state

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature='ss', out_signature='v')
    def Get(self, interface, name):
        if interface == DEVICE and name == 'State':
            return dbus.UInt32(self.state)
        raise dbus.exceptions.DBusException('no such property', name='org.freedesktop.DBus.Error.InvalidArgs')


class NetworkManager(dbus.service.Object):
    def __init__(self, bus, devices):
        super().__init__(bus, PATH)
        self.devices = devices

    @dbus.service.method(SERVICE, in_signature='', out_signature='ao')
    def GetDevices(self):
        return [dbus.ObjectPath(path) for path in self.devices]

    @dbus.service.method(SERVICE, in_signature='ooo', out_signature='o')
    def ActivateConnection(self, connection, device, specific_object):
        print('ActivateConnection', connection, device, specific_object, flush=True)
        return dbus.ObjectPath(PATH + '/ActiveConnection/1')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('address')
    parser.add_argument('--all-connected', action='store_true')
    options = parser.parse_args()

    DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(options.address)
    states = [100, 100 if options.all_connected else 30]
    paths = [PATH + '/Devices/%d' % i for i in range(len(states))]
    keep = [Device(bus, path, state) for path, state in zip(paths, states)]
    manager = NetworkManager(bus, paths)
    name = dbus.service.BusName(SERVICE, bus)
    print('ready', flush=True)
    GLib.MainLoop().run()
    del keep, manager, name


if __name__ == '__main__':
    sys.exit(main())
