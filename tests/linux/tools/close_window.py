#!/usr/bin/python3
"""Asks an X window to close the way a window manager's close box does (WM_DELETE_WINDOW):
close_window.py WINDOW-ID"""
import sys

from Xlib import X, display
from Xlib.protocol import event

disp = display.Display()
window = disp.create_resource_object("window", int(sys.argv[1], 0))
close = event.ClientMessage(window=window, client_type=disp.get_atom("WM_PROTOCOLS"),
                            data=(32, [disp.get_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
window.send_event(close)
disp.sync()  # a round trip, so the server has taken the event before the connection closes
disp.close()
