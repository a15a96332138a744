# What the desktop's and the Windows drivers share: a player at an X display,
# whose keys go through XTEST (xdotool) to the window with the keyboard, as
# the player's do, and a program stopped for a while as a busy machine may.
import signal
import subprocess
import time

KEYS = {'Enter': 'Return', 'Space': 'space', 'Shift+Tab': 'shift+Tab', 'Ctrl+A': 'ctrl+a'}


class XPlayer:
    game = None  # the game's process

    def press(self, key, how='key'):
        subprocess.run(['xdotool', how, KEYS.get(key, key)], check=True)

    def down(self, key):
        self.press(key, 'keydown')

    def up(self, key):
        self.press(key, 'keyup')

    def type(self, text):
        subprocess.run(['xdotool', 'type', '--delay', '50', text], check=True)

    def stall(self, seconds):
        self.game.send_signal(signal.SIGSTOP)
        time.sleep(seconds)
        self.game.send_signal(signal.SIGCONT)
