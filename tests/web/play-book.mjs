// Plays the scenario book (tests/book/book.json) in each engine of
// engines.mjs, as tests/book/book.py plays it on the other front ends, and
// keeps each engine's results as one column of their shared table:
// node play-book.mjs SITE_DIR [ENGINE...]; BOOK_ONLY=TEXT plays only the
// scenarios whose name holds it. Fails if any scenario fails.
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as engines from './engines.mjs';
import { serve } from '../../packaging/web/serve.mjs';

const ROOT = join(dirname(fileURLToPath(import.meta.url)), '../..');
const BOOK = JSON.parse(readFileSync(join(ROOT, 'tests/book/book.json'), 'utf8'));
const RESULTS = process.env.BOOK_RESULTS || join(ROOT, 'build/book');
const PREFIX = '/games/vantor/';
const sleep = (ms) => new Promise((resume) => setTimeout(resume, ms));

function matches(want, found) {
  if (want !== null && typeof want === 'object' && !Array.isArray(want))
    return found !== null && typeof found === 'object' && Object.entries(want).every(([k, v]) => matches(v, found[k]));
  if (typeof want === 'string' && want.startsWith('~'))
    return typeof found === 'string' && new RegExp(`^(?:${want.slice(1)})$`).test(found);
  if (Array.isArray(want)) return Array.isArray(found) && JSON.stringify(found) === JSON.stringify(want);
  return want === found;
}

function* expand(steps, args = []) {
  for (let step of steps) {
    step = step.map((s) => (typeof s === 'string' && /^\$\d$/.test(s) ? args[Number(s.slice(1)) - 1] : s));
    if (step[0] === 'do') yield* expand(BOOK.macros[step[1]], step.slice(2));
    else if (step[0] === 'repeat') yield ['repeat', step[1], [...expand(step[2], args)]];
    else yield step;
  }
}

function* needs(steps) {
  for (const step of steps) {
    yield step[0];
    if (step[0] === 'start' && (step[1]?.scale ?? 1) !== 1) yield 'scale';
    if (step[0] === 'repeat') yield* needs(step[2]);
  }
}

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

const KEYS = { Space: ' ', Right: 'ArrowRight', Left: 'ArrowLeft', Up: 'ArrowUp', Down: 'ArrowDown' };
const MODIFIERS = { Shift: 'Shift', Ctrl: 'Control' };

// One engine as the book's driver: key actions go to the tab that has the
// keyboard, the game's or, while away, another one; reads are of the game's.
function driver(engine, url) {
  let game, front, other;
  const heldOn = new Map();
  return {
    lacks: { close: 'a page cannot close its window from the keyboard' },
    async start(scale) {
      front = game = await engine.open({ width: 640, height: 420, scale });
      await game.goto(url);
    },
    async stop() {
      for (const [key, tab] of heldOn) await tab.release(key).catch(() => {});
      heldOn.clear();
      await game?.done();
      game = front = other = undefined;
    },
    read: () => game.eval(look),
    async press(key) {
      const [modifier, k] = key.length > 1 && key.includes('+') ? key.split('+') : [null, key];
      if (modifier) await front.down(MODIFIERS[modifier]);
      await front.press(KEYS[k] ?? (k.length === 1 ? k.toLowerCase() : k));
      if (modifier) await front.up(MODIFIERS[modifier]);
    },
    async down(key) {
      await front.hold(KEYS[key] ?? key);
      heldOn.set(key, front);
    },
    async up(key) {
      await heldOn.get(key)?.release(KEYS[key] ?? key);
      heldOn.delete(key);
    },
    type: (text) => front.type(text),
    click: (control) => front.click(`#c-${control}`),
    // A key held as the game's tab loses the keyboard repeats no more there,
    // and is let go in the other one. A new tab takes the keyboard at once.
    async away() {
      for (const [key, tab] of heldOn) await tab.quiet?.(KEYS[key] ?? key);
      front = other = await game.newTab();
      await other.front();
      for (const [key, tab] of heldOn) await tab.release(KEYS[key] ?? key, other);
      heldOn.clear();
    },
    async back() {
      front = game;
      await game.front();
      await other.close();
    },
    stall: (seconds) => game.eval((ms) => { for (const end = performance.now() + ms; performance.now() < end;); }, seconds * 1000),
  };
}

async function run(d, steps, state) {
  for (const [name, ...args] of steps) {
    if (name === 'repeat') {
      for (let i = 0; i < args[0]; ++i) await run(d, args[1], state);
    } else if (name === 'see' || name === 'still') {
      const [want, seconds = 5] = args;
      for (const end = Date.now() + seconds * 1000; ; await sleep(50)) {
        // A read that fails, as WebDriver's now and then does, is tried again.
        state.found = await d.read().catch((e) => ({ unreadable: e.message }));
        const ok = matches(want, state.found), over = Date.now() > end;
        if (name === 'see' ? over && !ok : !ok && !state.found.unreadable)
          throw new Error(`not ${name === 'see' ? 'within' : 'throughout'} ${seconds} s: ${JSON.stringify(want)}`);
        if (name === 'see' ? ok : over) break;
      }
    } else if (name === 'pause') {
      await sleep(args[0] * 1000);
    } else if (name === 'start') {
      await d.start(args[0]?.scale ?? 1);
    } else if (name === 'press') {
      for (const key of args) await d.press(key);
    } else {
      await d[name](...args);
    }
  }
}

async function play(which, site) {
  const errors = [];
  const engine = await engines[which]({ own: (u) => u.startsWith(url) || u === 'about:blank', fail: (what) => errors.push(what) });
  const server = await serve(engine.site ? engine.site(site) : site, 0, PREFIX);
  const url = `http://127.0.0.1:${server.address().port}${PREFIX}`;
  const d = driver(engine, url);
  const results = {};
  console.log(`--- ${engine.name}`);
  for (const { name, steps } of BOOK.scenarios.filter((s) => s.name.includes(process.env.BOOK_ONLY ?? ''))) {
    const expanded = [...expand(steps)];
    const lacking = [...needs(expanded)].find((n) => d.lacks[n]);
    const [started, state] = [Date.now(), {}];
    errors.length = 0;
    if (lacking) {
      results[name] = `skipped: ${d.lacks[lacking]}`;
    } else {
      // A page's errors and a driver's own failure fail the scenario, not the book.
      const why = await run(d, expanded, state).then(() => null, (e) => e.message);
      await d.stop().catch((e) => errors.push(`the page closes: ${e.message}`));
      results[name] = why || errors.length ? `FAILED: ${why ?? errors.join('; ')}` : 'passed';
      if (results[name] !== 'passed') console.error(`  what was found: ${JSON.stringify(state.found)}`);
    }
    console.log(`${which}: ${name}: ${results[name]} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
  }
  await engine.close();
  server.close();
  mkdirSync(RESULTS, { recursive: true });
  writeFileSync(join(RESULTS, `${which}.json`), JSON.stringify(results, null, 1));
  return Object.values(results).filter((r) => r.startsWith('FAILED')).length;
}

const [site, ...wanted] = process.argv.slice(2);
let failed = 0;
for (const which of wanted.length ? wanted : ['chromium', 'firefox', 'webkit']) failed += await play(which, site);
execFileSync('python3', [join(ROOT, 'tests/book/book.py'), RESULTS], { stdio: 'inherit' });
process.exit(failed ? 1 : 0);
