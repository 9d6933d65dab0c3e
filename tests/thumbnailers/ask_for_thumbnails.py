#!/usr/bin/python3
"""Asks a file manager's thumbnail service for thumbnails, as the file manager does.

    ask_for_thumbnails.py tumbler|gnome [!]FILE:MIME ...

tumbler: Xfce's service, over the session bus (org.freedesktop.thumbnails.Thumbnailer1).
gnome:   GNOME's thumbnail factory (GnomeDesktop.DesktopThumbnailFactory), which Files,
         Nemo and Caja use; it runs the thumbnailer in a bubblewrap sandbox.

For each file and for the flavours normal (128) and large (256), it checks that the
thumbnail lands in $XDG_CACHE_HOME/thumbnails/<flavour>/<md5 of the URI>.png and that it
is a PNG that fills the flavour's size on its longer side (the files given here all hold
an image of at least 256 pixels). A file marked "!" must get no thumbnail: the service
reports a failure for it and nothing lands in the cache. Prints one line per thumbnail;
the status is the number of thumbnails missing or wrong.
"""

import hashlib
import os
import struct
import sys

import gi

FLAVOURS = {"normal": 128, "large": 256}


def cached_thumbnail(uri, flavour):
    cache = os.environ["XDG_CACHE_HOME"]
    return os.path.join(cache, "thumbnails", flavour, hashlib.md5(uri.encode()).hexdigest() + ".png")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def ask_tumbler(files, flavour):
    """Queues the files and waits for Finished; returns the service's errors by URI."""
    gi.require_version("Gio", "2.0")
    from gi.repository import Gio, GLib

    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    errors = {}
    loop = GLib.MainLoop()
    handle = []

    def heard(_connection, _sender, _path, _interface, signal, parameters):
        values = parameters.unpack()
        if not handle or values[0] != handle[0]:
            return
        if signal == "Error":
            for uri in values[1]:
                errors[uri] = values[3]
        elif signal == "Finished":
            loop.quit()

    bus.signal_subscribe(None, "org.freedesktop.thumbnails.Thumbnailer1", None,
                         "/org/freedesktop/thumbnails/Thumbnailer1", None,
                         Gio.DBusSignalFlags.NONE, heard)
    reply = bus.call_sync("org.freedesktop.thumbnails.Thumbnailer1",
                          "/org/freedesktop/thumbnails/Thumbnailer1",
                          "org.freedesktop.thumbnails.Thumbnailer1", "Queue",
                          GLib.Variant("(asasssu)", ([uri for uri, _ in files],
                                                     [mime for _, mime in files],
                                                     flavour, "default", 0)),
                          GLib.VariantType("(u)"), Gio.DBusCallFlags.NONE, 30000, None)
    handle.append(reply.unpack()[0])
    GLib.timeout_add_seconds(60, loop.quit)
    loop.run()
    return errors


def ask_gnome(files, flavour):
    """Generates and saves each thumbnail; returns the factory's errors by URI."""
    gi.require_version("GnomeDesktop", "3.0")
    from gi.repository import GnomeDesktop

    size = {"normal": GnomeDesktop.DesktopThumbnailSize.NORMAL,
            "large": GnomeDesktop.DesktopThumbnailSize.LARGE}[flavour]
    factory = GnomeDesktop.DesktopThumbnailFactory.new(size)
    errors = {}
    for uri, mime in files:
        try:
            picture = factory.generate_thumbnail(uri, mime, None)
            mtime = int(os.stat(uri[len("file://"):]).st_mtime)
            factory.save_thumbnail(picture, uri, mtime, None)
        except Exception as error:  # the factory reports failures as GLib errors
            errors[uri] = str(error)
    return errors


def main():
    service = sys.argv[1]
    files = []
    refused = set()
    for argument in sys.argv[2:]:
        path, mime = argument.lstrip("!").rsplit(":", 1)
        files.append(("file://" + os.path.abspath(path), mime))
        if argument.startswith("!"):
            refused.add(files[-1][0])
    ask = {"tumbler": ask_tumbler, "gnome": ask_gnome}[service]
    failures = 0
    for flavour, side in FLAVOURS.items():
        errors = ask(files, flavour)
        for uri, _ in files:
            name = os.path.basename(uri)
            thumbnail = cached_thumbnail(uri, flavour)
            if uri in refused:
                if uri in errors and not os.path.exists(thumbnail):
                    print(f"ok   {service} {flavour} {name}: refused")
                else:
                    print(f"FAIL {service} {flavour} {name}: not refused")
                    failures += 1
            elif uri in errors:
                print(f"FAIL {service} {flavour} {name}: {errors[uri]}")
                failures += 1
            elif not os.path.exists(thumbnail):
                print(f"FAIL {service} {flavour} {name}: no thumbnail in the cache")
                failures += 1
            elif png_size(thumbnail) is None or max(png_size(thumbnail)) != side:
                print(f"FAIL {service} {flavour} {name}: {png_size(thumbnail)}, not {side} a side")
                failures += 1
            else:
                print(f"ok   {service} {flavour} {name}: {png_size(thumbnail)}")
    return failures


if __name__ == "__main__":
    sys.exit(main())
