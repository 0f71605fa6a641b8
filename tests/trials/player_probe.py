#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Looks at an MPRIS player on the session bus for the desktop player trial:
# what it offers, what it plays, how it answers OpenUri; and stands in for
# the desktop's notification service so that every notice Jukora gives is
# logged. Every wait has a deadline; every call times out after 3 s.
#
#   player_probe.py names
#   player_probe.py wait-name STEM SECONDS       the player's bus names, once one shows up
#   player_probe.py facts NAME                   Identity, DesktopEntry, OpenUri, TrackList, CanEditTracks
#   player_probe.py state NAME                   status, xesam:url, position
#   player_probe.py open NAME PATH               OpenUri of PATH's file URL: "ok" or the error
#   player_probe.py quit NAME                    its Quit method
#   player_probe.py wait-playing NAME PATH SECONDS
#   player_probe.py watch NAME SECONDS FILE      every change of status and url, one line each
#   player_probe.py notifications FILE           the notification service, until killed
import sys
import time
import urllib.parse

import dbus

PREFIX = "org.mpris.MediaPlayer2."
PATH = "/org/mpris/MediaPlayer2"
PLAYER = "org.mpris.MediaPlayer2.Player"
TRACKLIST = "org.mpris.MediaPlayer2.TrackList"
PROPS = "org.freedesktop.DBus.Properties"
TIMEOUT = 3


def bus():
    return dbus.SessionBus()


def mpris_names(b):
    names = b.list_names()
    return sorted(str(n) for n in names if str(n).startswith(PREFIX))


def of_stem(name, stem):
    return name == PREFIX + stem or name.startswith(PREFIX + stem + ".")


def get_all(b, name, interface):
    obj = b.get_object(name, PATH, introspect=False)
    return obj.GetAll(interface, dbus_interface=PROPS, timeout=TIMEOUT)


def url_path(url):
    if not url.startswith("file://"):
        return None
    return urllib.parse.unquote_to_bytes(url[len("file://"):]).decode("utf-8", "surrogateescape")


def state(b, name):
    """(status, url, position) as the player reports them; a failed call gives its error."""
    try:
        p = get_all(b, name, PLAYER)
    except dbus.DBusException as e:
        return ("error:" + (e.get_dbus_name() or "?"), "", "")
    meta = p.get("Metadata", {})
    url = str(meta.get("xesam:url", ""))
    pos = p.get("Position")
    return (str(p.get("PlaybackStatus", "")), url, "" if pos is None else str(int(pos)))


def cmd_wait_name(stem, seconds):
    b = bus()
    end = time.monotonic() + float(seconds)
    while time.monotonic() < end:
        found = [n for n in mpris_names(b) if of_stem(n, stem)]
        if found:
            print(" ".join(found))
            return 0
        time.sleep(0.1)
    print("none: " + " ".join(mpris_names(b)))
    return 1


def cmd_facts(name):
    b = bus()
    out = {}
    try:
        root = get_all(b, name, "org.mpris.MediaPlayer2")
        out["Identity"] = str(root.get("Identity", ""))
        out["DesktopEntry"] = str(root.get("DesktopEntry", ""))
        out["HasTrackList"] = str(bool(root.get("HasTrackList", False)))
    except dbus.DBusException as e:
        out["root"] = "error " + str(e.get_dbus_name())
    try:
        obj = b.get_object(name, PATH, introspect=False)
        xml = str(obj.Introspect(dbus_interface="org.freedesktop.DBus.Introspectable", timeout=TIMEOUT))
        player = xml.split('<interface name="%s"' % PLAYER, 1)
        body = player[1].split("</interface>", 1)[0] if len(player) > 1 else ""
        out["OpenUri"] = "listed" if '<method name="OpenUri"' in body else ("not-listed" if body else "no-player-iface")
        out["TrackList"] = "yes" if '<interface name="%s"' % TRACKLIST in xml else "no"
    except dbus.DBusException as e:
        out["Introspect"] = "error " + str(e.get_dbus_name())
    if out.get("TrackList") == "yes":
        try:
            t = get_all(b, name, TRACKLIST)
            out["CanEditTracks"] = str(bool(t.get("CanEditTracks", False)))
        except dbus.DBusException as e:
            out["CanEditTracks"] = "error " + str(e.get_dbus_name())
    print(" ".join("%s=%s" % (k, v.replace(" ", "_")) for k, v in out.items()))
    return 0


def cmd_state(name):
    print("\t".join(state(bus(), name)))
    return 0


def cmd_open(name, path):
    b = bus()
    url = "file://" + urllib.parse.quote(path.encode("utf-8", "surrogateescape"))
    try:
        obj = b.get_object(name, PATH, introspect=False)
        obj.OpenUri(url, dbus_interface=PLAYER, timeout=TIMEOUT)
        print("ok")
    except dbus.DBusException as e:
        print("error %s: %s" % (e.get_dbus_name(), str(e.get_dbus_message()).splitlines()[0][:120] if e.get_dbus_message() else ""))
    return 0


def cmd_quit(name):
    try:
        bus().get_object(name, PATH, introspect=False).Quit(dbus_interface="org.mpris.MediaPlayer2", timeout=TIMEOUT)
        print("ok")
    except dbus.DBusException as e:
        print("error " + str(e.get_dbus_name()))
    return 0


def cmd_wait_playing(name, path, seconds):
    b = bus()
    start = time.monotonic()
    last = None
    while time.monotonic() - start < float(seconds):
        last = state(b, name)
        if last[0] == "Playing" and url_path(last[1]) == path:
            print("playing after %.1f s url=%s" % (time.monotonic() - start, last[1]))
            return 0
        time.sleep(0.2)
    title = ""
    try:
        title = str(get_all(b, name, PLAYER).get("Metadata", {}).get("xesam:title", ""))
    except dbus.DBusException:
        pass
    print("not playing within %s s: status=%s url=%s title=%s" % (seconds, last[0] if last else "", last[1] if last else "", title))
    return 1


def cmd_watch(name, seconds, out):
    b = bus()
    start = time.monotonic()
    last = None
    with open(out, "a") as f:
        while time.monotonic() - start < float(seconds):
            now = state(b, name)[:2]
            if now != last:
                f.write("%.1f\t%s\t%s\n" % (time.monotonic() - start, now[0], now[1]))
                f.flush()
                last = now
            time.sleep(0.2)
    return 0


def cmd_notifications(out):
    import dbus.service
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    b = dbus.SessionBus()
    log = open(out, "a")

    class Notifications(dbus.service.Object):
        counter = 0

        @dbus.service.method("org.freedesktop.Notifications", in_signature="susssasa{sv}i", out_signature="u")
        def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
            # Only Jukora's: some players announce every track.
            if not str(app).startswith("Jukora"):
                Notifications.counter += 1
                return Notifications.counter
            log.write("%.1f\t%s\t%s\n" % (time.monotonic(), summary, body.replace("\n", " ")))
            log.flush()
            Notifications.counter += 1
            return Notifications.counter

        @dbus.service.method("org.freedesktop.Notifications", out_signature="as")
        def GetCapabilities(self):
            return ["body"]

        @dbus.service.method("org.freedesktop.Notifications", out_signature="ssss")
        def GetServerInformation(self):
            return ("trial", "trial", "1", "1.2")

        @dbus.service.method("org.freedesktop.Notifications", in_signature="u")
        def CloseNotification(self, _id):
            pass

    name = dbus.service.BusName("org.freedesktop.Notifications", b)
    Notifications(name, "/org/freedesktop/Notifications")
    GLib.MainLoop().run()


def main(argv):
    verb, args = argv[1], argv[2:]
    if verb == "names":
        print(" ".join(mpris_names(bus())))
        return 0
    table = {
        "wait-name": cmd_wait_name,
        "facts": cmd_facts,
        "state": cmd_state,
        "open": cmd_open,
        "quit": cmd_quit,
        "wait-playing": cmd_wait_playing,
        "watch": cmd_watch,
        "notifications": cmd_notifications,
    }
    return table[verb](*args)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
