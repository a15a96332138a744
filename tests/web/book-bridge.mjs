// One engine of engines.mjs as the scenario book's driver, for the book's
// player in play-book: node book-bridge.mjs SITE_DIR ENGINE. It serves the
// site, says the engine's name, then answers each line of stdin, a JSON
// [step, ...args], with one line: {"value": ...} or {"error": "..."}. What
// the page complained of meanwhile fails the scenario as it stops.
import { createInterface } from 'node:readline';
import * as engines from './engines.mjs';
import { serve } from '../../packaging/web/serve.mjs';

const [site, which] = process.argv.slice(2);
const PREFIX = '/games/vantor/';
const errors = [];
let url;
const engine = await engines[which]({ own: (u) => u.startsWith(url) || u === 'about:blank', fail: (e) => errors.push(e) });
const server = await serve(engine.site ? engine.site(site) : site, 0, PREFIX);
url = `http://127.0.0.1:${server.address().port}${PREFIX}`;

// What the player finds, in the forms layer's names, read in one go.
function look() {
  const ratio = devicePixelRatio;
  const form = document.getElementById('form').getBoundingClientRect();
  const device = (...css) => css.map((n) => Math.round(n * ratio));
  const found = { title: document.title, size: device(form.width, form.height),
                  sprites: { Player: 0, Bullet: 0, 'Target dot': 0 } };  // a sprite not made yet is not shown
  for (const e of document.querySelectorAll('#form > [id^="c-"]')) {
    const r = e.getBoundingClientRect();
    found[e.id.slice(2)] = { text: e.tagName === 'INPUT' ? e.value : e.textContent, shown: !e.hidden, enabled: !e.disabled,
                             place: device(r.x - form.x, r.y - form.y) };
  }
  for (const s of document.querySelectorAll('.sprite')) {
    const name = s.getAttribute('aria-label');
    found.sprites[name] = (found.sprites[name] ?? 0) + (!s.hidden && !s.parentElement.hidden);
  }
  const e = document.activeElement;
  found.focus = e?.id.startsWith('c-') ? e.id.slice(2) : null;
  found.selected = e?.tagName === 'INPUT' && e.selectionStart === 0 && e.selectionEnd === e.value.length;
  const box = document.getElementById('box');
  found.box = box.open ? { caption: box.querySelector('#box-caption').textContent,
                           prompt: box.querySelector('#box-prompt').textContent } : null;
  return found;
}

const KEYS = { Space: ' ', Right: 'ArrowRight', Left: 'ArrowLeft', Up: 'ArrowUp', Down: 'ArrowDown', Shift: 'Shift', Ctrl: 'Control' };
const key = (k) => KEYS[k] ?? (k.length === 1 ? k.toLowerCase() : k);

// Key actions go to the tab that has the keyboard, the game's or, while
// away, another one; reads are of the game's.
let game, front, other;
const heldOn = new Map();
const steps = {
  async start(scale) {
    await steps.stop(false);  // a scenario may start the game anew
    front = game = await engine.open({ width: 640, height: 420, scale });
    await game.goto(url);
  },
  async stop(report = true) {
    for (const [k, tab] of heldOn) await tab.release(key(k)).catch(() => {});
    heldOn.clear();
    await game?.done().catch((e) => errors.push(`the page closes: ${e.message}`));
    game = front = other = undefined;
    if (report && errors.length) throw new Error(errors.splice(0).join('; '));
  },
  read: () => game.eval(look),
  async press(keys) {
    const [modifier, k] = keys.length > 1 && keys.includes('+') ? keys.split('+') : [null, keys];
    if (modifier) await front.down(key(modifier));
    await front.press(key(k));
    if (modifier) await front.up(key(modifier));
  },
  async down(k) {
    await front.hold(key(k));
    heldOn.set(k, front);
  },
  async up(k) {
    await heldOn.get(k)?.release(key(k));
    heldOn.delete(k);
  },
  type: (text) => front.type(text),
  click: (control) => front.click(`#c-${control}`),
  // A key held as the game's tab loses the keyboard repeats no more there,
  // and is let go in the other one. A new tab takes the keyboard at once.
  async away() {
    for (const [k, tab] of heldOn) await tab.quiet(key(k));
    front = other = await game.newTab();
    await other.front();
    for (const [k, tab] of heldOn) await tab.release(key(k), other);
    heldOn.clear();
  },
  async back() {
    front = game;
    await game.front();
    await other.close();
  },
  stall: (seconds) => game.eval((ms) => { for (const end = performance.now() + ms; performance.now() < end;); }, seconds * 1000),
};

const answer = (reply) => process.stdout.write(JSON.stringify(reply) + '\n');
answer({ value: engine.name });
for await (const line of createInterface({ input: process.stdin })) {
  const [step, ...args] = JSON.parse(line);
  answer(await steps[step](...args).then((value) => ({ value: value ?? null }), (e) => ({ error: e.message })));
}
await steps.stop(false);
await engine.close();
server.close();
