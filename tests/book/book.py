# Plays the scenario book (book.json) through one front end's driver, and
# keeps the results as one column of the table that every front end shares.
# A driver gives: lacks (a step's name, or "scale" for a start at another
# scale, -> why this front end cannot do it),
# start(scale), stop(), press(key), down(key), up(key), type(text),
# click(control), away(), back(), stall(seconds), close(), and read(): what
# the player finds now, as a dict in the forms layer's names (see book.json).
import json
import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
BOOK = json.load(open(os.path.join(HERE, 'book.json')))


class Failed(Exception):
    pass


def until(condition, seconds, failure):
    """Waits for the condition to come true; fails with FAILURE after SECONDS."""
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            raise Failed(failure)
        time.sleep(0.05)


def matches(want, found):
    if isinstance(want, dict):
        return isinstance(found, dict) and all(matches(v, found.get(k)) for k, v in want.items())
    if isinstance(want, str) and want.startswith('~'):
        return isinstance(found, str) and re.fullmatch(want[1:], found) is not None
    if isinstance(want, list):
        return isinstance(found, (list, tuple)) and list(found) == want
    return want == found


def expand(steps, args=()):
    """The steps with every macro written out and $1 put in."""
    for step in steps:
        step = [args[int(s[1:]) - 1] if isinstance(s, str) and re.fullmatch(r'\$\d', s) else s for s in step]
        if step[0] == 'do':
            yield from expand(BOOK['macros'][step[1]], step[2:])
        elif step[0] == 'repeat':
            yield ['repeat', step[1], list(expand(step[2], args))]
        else:
            yield step


def needs(steps):
    for step in steps:
        yield step[0]
        if step[0] == 'start' and len(step) > 1 and step[1].get('scale', 1) != 1:
            yield 'scale'
        if step[0] == 'repeat':
            yield from needs(step[2])


class Player:
    def __init__(self, driver):
        self.driver, self.found = driver, None

    def look(self, want):
        try:
            self.found = self.driver.read()
        except Exception as e:  # a read that fails now and then is tried again, and matches nothing
            self.found = {'unreadable': str(e)}
            return False
        return matches(want, self.found)

    def see(self, want, seconds=5):
        until(lambda: self.look(want), seconds, f'not within {seconds} s: {json.dumps(want)}')

    def still(self, want, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if not self.look(want) and 'unreadable' not in self.found:
                raise Failed(f'not throughout {seconds} s: {json.dumps(want)}')
            time.sleep(0.05)

    def run(self, steps):
        for step in steps:
            name, args = step[0], step[1:]
            if name == 'repeat':
                for _ in range(args[0]):
                    self.run(args[1])
            elif name in ('see', 'still'):
                getattr(self, name)(*args)
            elif name == 'pause':
                time.sleep(args[0])
            elif name == 'start':
                self.driver.start((args[0] if args else {}).get('scale', 1))
            elif name == 'press':
                for key in args:
                    self.driver.press(key)
            else:
                getattr(self.driver, name)(*args)


def play(driver, column, results_dir, only=None):
    """Plays every scenario (or those whose name holds ONLY); returns how many failed."""
    rows, failed = [], 0
    for scenario in BOOK['scenarios']:
        if only and only not in scenario['name']:
            continue
        steps = list(expand(scenario['steps']))
        lacking = [driver.lacks[n] for n in needs(steps) if n in driver.lacks]
        started = time.monotonic()
        if lacking:
            result = f'skipped: {lacking[0]}'
        else:
            player, why = Player(driver), None
            try:
                player.run(steps)
            except Exception as e:  # a driver's own failure fails the scenario, not the book
                why = e
            try:
                driver.stop()
            except Exception as e:  # and so does what a page complained of as it closed
                why = why or e
            result = f'FAILED: {why}' if why else 'passed'
            if why:
                failed += 1
                print(f'  what was found: {json.dumps(player.found)}', file=sys.stderr)
        print(f'{column}: {scenario["name"]}: {result} ({time.monotonic() - started:.1f} s)', flush=True)
        rows.append((scenario['name'], result))
    os.makedirs(results_dir, exist_ok=True)
    with open(os.path.join(results_dir, f'{column}.json'), 'w') as out:
        json.dump(dict(rows), out, indent=1)
    table(results_dir)
    return failed


def table(results_dir):
    """Prints a row per scenario and a column per front end that has played, then why any did not pass."""
    columns = {name[:-5]: json.load(open(os.path.join(results_dir, name)))
               for name in sorted(os.listdir(results_dir)) if name.endswith('.json')}
    width = max(len(s['name']) for s in BOOK['scenarios'])
    print('\n' + 'scenario'.ljust(width) + ''.join(f' | {c:<9}' for c in columns))
    for scenario in BOOK['scenarios']:
        cells = [results.get(scenario['name'], 'not played').split(':')[0] for results in columns.values()]
        print(scenario['name'].ljust(width) + ''.join(f' | {c:<9}' for c in cells))
    for column, results in columns.items():
        for name, result in results.items():
            if result != 'passed':
                print(f'  {column}, {name}: {result}')


if __name__ == '__main__':
    table(sys.argv[1] if len(sys.argv) > 1 else 'build/book')
