# A private X server (Xvfb, no window manager) with its own D-Bus session and
# accessibility bus, for the checks that read the game as a screen reader does.
import os
import sys
import warnings

import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi  # noqa: E402


def enter(flag):
    """Runs this script again inside the session, unless it is already inside."""
    if not os.environ.get(flag):
        os.environ[flag] = '1'
        os.execvp('xvfb-run', ['xvfb-run', '-a', '-s', '-screen 0 1024x768x24 -noreset', 'dbus-run-session', '--',
                               '/usr/bin/python3', os.path.abspath(sys.argv[0]), *sys.argv[1:]])
    warnings.simplefilter('ignore', DeprecationWarning)  # the boundary calls, which Orca 43 still makes
    Atspi.set_timeout(2000, 15000)  # a hung answer fails the query instead of holding the check


def environment(home):
    """The game's environment: its own home, and Qt on X with its accessibility on."""
    return dict(os.environ, XDG_DATA_HOME=home, XDG_CONFIG_HOME=home, XDG_CACHE_HOME=home, HOME=home,
                QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1')


def children(node):
    """A node's children, without those gone as they were asked for."""
    return [c for c in (node.get_child_at_index(i) for i in range(node.get_child_count())) if c is not None]


def game_app(pid):
    """The game's application on the accessibility bus, or None."""
    return next((app for app in children(Atspi.get_desktop(0)) if app.get_process_id() == pid), None)
