// Lighthouse's audits of the site, as a phone and as a desktop see it:
// node lighthouse.mjs SITE_DIR [--runs N] [--presets mobile,desktop] [--reports DIR]. The site is served
// compressed, as by a static host, to Debian's headless chromium; each figure
// is the median of its runs, as the shared machine is noisy. Fails where a
// preset falls short of its floor.
import { mkdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import * as chromeLauncher from 'chrome-launcher';
import lighthouse, { desktopConfig } from 'lighthouse';
import { serve } from '../../../packaging/web/serve.mjs';

const CATEGORIES = ['performance', 'accessibility', 'best-practices', 'seo'];
const METRICS = { CLS: 'cumulative-layout-shift', LCP: 'largest-contentful-paint', TBT: 'total-blocking-time' };
// The lowest each preset may score, out of 100, and the most layout shift.
export const FLOORS = {
  mobile: { performance: 95, accessibility: 100, 'best-practices': 100, seo: 100, CLS: 0 },
  desktop: { performance: 100, accessibility: 100, 'best-practices': 100, seo: 100, CLS: 0 },
};

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

// One fresh browser for each run, so that nothing of one run is left for the next.
async function run(url, preset) {
  const chrome = await chromeLauncher.launch({
    chromePath: '/usr/bin/chromium',
    chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync'],
  });
  try {
    const result = await lighthouse(url, { port: chrome.port, logLevel: 'error', onlyCategories: CATEGORIES },
                                     preset === 'desktop' ? desktopConfig : undefined);
    return result.lhr;
  } finally {
    await chrome.kill();
  }
}

// The median of each score and metric over the runs of each preset, and the
// audits that cost points in any run.
export async function audit(site, { runs = 3, presets = ['mobile', 'desktop'], reports } = {}) {
  const server = await serve(site, 0, '/');
  const url = `http://127.0.0.1:${server.address().port}/`;
  await fetch(url + 'vantor.wasm', { headers: { 'Accept-Encoding': 'br' } });  // the host's copy made before the clock runs
  const results = {};
  try {
    for (const preset of presets) {
      const lhrs = [];
      for (let i = 0; i < runs; ++i) {
        const lhr = await run(url, preset);
        if (lhr.runtimeError) throw new Error(`${preset}: ${lhr.runtimeError.message}`);
        lhrs.push(lhr);
        if (reports) {
          mkdirSync(reports, { recursive: true });
          writeFileSync(join(reports, `${preset}-${i + 1}.json`), JSON.stringify(lhr));
        }
      }
      const figures = {};
      for (const c of CATEGORIES) figures[c] = median(lhrs.map((l) => Math.round(l.categories[c].score * 100)));
      for (const [name, id] of Object.entries(METRICS)) figures[name] = median(lhrs.map((l) => l.audits[id].numericValue));
      const costs = new Map();
      for (const lhr of lhrs) {
        for (const c of CATEGORIES) {
          for (const ref of lhr.categories[c].auditRefs) {
            const a = lhr.audits[ref.id];
            if (ref.weight > 0 && a.score !== null && a.score < 1) costs.set(a.id, (costs.get(a.id) || 0) + 1);
          }
        }
      }
      const legible = lhrs.map((l) => l.audits['font-size']).filter((a) => a.displayValue).map((a) => a.displayValue);
      results[preset] = { figures, costs, legible: legible[0], runs };
    }
  } finally {
    server.close();
  }
  return results;
}

// Where each preset falls short of its floor.
export function shortfalls(results) {
  const short = [];
  for (const [preset, { figures }] of Object.entries(results)) {
    for (const [what, floor] of Object.entries(FLOORS[preset])) {
      const ok = what === 'CLS' ? figures.CLS <= floor : figures[what] >= floor;
      if (!ok) short.push(`${preset} ${what} ${what === 'CLS' ? figures.CLS.toFixed(3) : figures[what]}, wants ${what === 'CLS' ? '<=' : '>='} ${floor}`);
    }
  }
  return short;
}

export function table(results) {
  const lines = ['| preset | performance | accessibility | best practices | SEO | CLS | LCP, s | TBT, ms |',
                 '|---|---|---|---|---|---|---|---|'];
  for (const [preset, { figures: f, runs }] of Object.entries(results)) {
    lines.push(`| ${preset} (median of ${runs}) | ${f.performance} | ${f.accessibility} | ${f['best-practices']} | ${f.seo} | ` +
               `${f.CLS.toFixed(3)} | ${(f.LCP / 1000).toFixed(2)} | ${Math.round(f.TBT)} |`);
  }
  for (const [preset, { costs, legible, runs }] of Object.entries(results)) {
    if (costs.size) lines.push(`${preset} loses points on: ${[...costs].map(([id, n]) => `${id} (${n}/${runs})`).join(', ')}`);
    if (legible) lines.push(`${preset} legible text: ${legible}`);
  }
  return lines.join('\n');
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const args = process.argv.slice(2);
  const option = (name) => (args.includes(name) ? args[args.indexOf(name) + 1] : undefined);
  const results = await audit(args[0], { runs: Number(option('--runs') || 3), reports: option('--reports'),
                                        presets: (option('--presets') || 'mobile,desktop').split(',') });
  console.log(table(results));
  const short = shortfalls(results);
  for (const s of short) console.log(`FAIL ${s}`);
  console.log(short.length ? `${short.length} floors missed` : 'every preset reaches its floors');
  process.exit(short.length ? 1 : 0);
}
