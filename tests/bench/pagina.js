// The browser page's figures against their goals, in Debian's Chromium, headless (`make bench-web`;
// not a test): the page's size; navigation start to the first frame of the bench, in fresh tabs
// and in one tab loaded again, beside a bare page and a static copy of the bench's controls; a
// click on a lamp, a filter, the analysis button and the direction bar to the end of the next
// frame, at device pixel ratios 1 and 3; and the JavaScript heap after 10,000 random clicks.
// Prints the machine and every figure; exits 1 if a goal is missed.
// Usage: node pagina.js PAGE.html [--loads N] [--clicks N] [--random N]
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const puppeteer = require(path.join(__dirname, '..', 'web', 'node_modules', 'puppeteer-core'));

const args = process.argv.slice(2);
const PAGE = args[0];
const option = (name, fallback) => {
  const at = args.indexOf(name);
  return at > 0 ? Number(args[at + 1]) : fallback;
};
const LOADS = option('--loads', 20);
const CLICKS = option('--clicks', 300);
const RANDOM = option('--random', 10000);
if (!PAGE || !fs.existsSync(PAGE)) {
  console.error('usage: node pagina.js PAGE.html [--loads N] [--clicks N] [--random N]');
  process.exit(2);
}
const URL_ = pathToFileURL(path.resolve(PAGE)).href;

const median = (v) => [...v].sort((a, b) => a - b)[Math.floor((v.length - 1) / 2)];
const percentile = (v, p) => [...v].sort((a, b) => a - b)[Math.min(v.length - 1, Math.ceil(p * v.length) - 1)];
const ms = (v) => `${v.toFixed(2)} ms`;

let failed = false;
const verdict = (ok) => {
  if (!ok) failed = true;
  return ok ? 'met' : 'NOT MET';
};

async function launch(extra = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'corvani-bench-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CORVANI_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage', ...extra],
  });
  browser.profile = profile;
  return browser;
}
async function close(browser) {
  await browser.close();
  fs.rmSync(browser.profile, { recursive: true, force: true, maxRetries: 5 });
}

function machine(version) {
  const cpu = (fs.readFileSync('/proc/cpuinfo', 'utf8').match(/^model name\s*:\s*(.*)$/m) || [])[1] || os.cpus()[0].model;
  const release = (fs.readFileSync('/etc/os-release', 'utf8').match(/^PRETTY_NAME="?([^"\n]*)/m) || [])[1] || os.release();
  return `${os.cpus().length} cores (${cpu}), ${(os.totalmem() / 2 ** 30).toFixed(0)} GiB, ${release}, ${version}, ` +
    `load average ${os.loadavg().map((l) => l.toFixed(2)).join(' ')}`;
}

// When the page first presents the bench: its first contentful paint, where the bench was
// whole by then (the page marks "llest" as it finishes), else the first frame after the mark.
async function load(page, url) {
  await page.goto(url);
  await page.waitForSelector('body[data-llest]');
  return page.evaluate(() => new Promise((resolve) => {
    const ready = performance.getEntriesByName('llest')[0].startTime;
    const read = () => {
      const fcp = performance.getEntriesByName('first-contentful-paint')[0];
      if (!fcp) return false;
      if (fcp.startTime >= ready) resolve({ frame: fcp.startTime, ready });
      else requestAnimationFrame((t) => resolve({ frame: t, ready }));
      return true;
    };
    if (!read()) new PerformanceObserver((list, observer) => {
      observer.disconnect();
      read();
    }).observe({ type: 'paint' });
  }));
}

// A page with one line of text and nothing else, marked ready as the bench marks itself: what this
// browser on this machine takes to show any page at all, for the bench's figures to be read against.
function barePage() {
  return comparisonPage('<!DOCTYPE html><html lang="ca"><head><meta charset="utf-8"><title>Corvani</title></head>' +
    '<body><p>Corvani</p></body></html>');
}

// A page to compare the bench with, in a folder of its own for the run, marked ready as its body
// ends, as the bench marks itself.
function comparisonPage(html) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'corvani-compare-'));
  process.on('exit', () => fs.rmSync(folder, { recursive: true, force: true }));
  const file = path.join(folder, 'page.html');
  fs.writeFileSync(file, html.replace('</body>',
    '<script>performance.mark("llest"); document.body.dataset.llest = "";</script></body>'));
  return pathToFileURL(file).href;
}

// The bench's controls as the page has built them, copied into a page of their own without the
// script, the module or the strips, marked ready as the bench marks itself: what showing the
// controls alone takes, however the page came to build them.
async function staticCopy(browser) {
  const page = await browser.newPage();
  await page.setViewport({ width: 867, height: 640, deviceScaleFactor: 1 });
  await page.goto(URL_);
  await page.waitForSelector('body[data-llest]');
  const html = await page.evaluate(() => {
    const copy = document.documentElement.cloneNode(true);
    for (const script of copy.querySelectorAll('script')) script.remove();
    copy.querySelector('#tires').replaceChildren();
    copy.querySelector('body').removeAttribute('data-llest');
    return `<!DOCTYPE html>${copy.outerHTML}`;
  });
  await page.close();
  return comparisonPage(html);
}

async function startUp(browser, url) {
  const fresh = [];
  const again = [];
  for (let i = 0; i < LOADS; ++i) {
    const page = await browser.newPage();
    await page.setViewport({ width: 867, height: 640, deviceScaleFactor: 1 });
    fresh.push(await load(page, `${url}?tab=${i}`));
    again.push(await load(page, `${url}?again=${i}`));
    await page.close();
  }
  return { fresh, again };
}

// Clicks sent as the browser's own input, timed in the page from the event that acts (a button's
// click, the bar's press on an arrow) to the end of the next frame: a task queued from the
// frame's first animation callback runs once the frame has been laid out, painted and committed.
// Each click gives: its work, the event's handling and the frame's, without the wait between
// them for the frame to begin; the whole time from the event, the wait included; and the time
// from the input's own time stamp, as the browser took it.
async function clicks(browser, ratio) {
  const page = await browser.newPage();
  await page.setViewport({ width: 867, height: 640, deviceScaleFactor: ratio });
  await page.goto(URL_);
  await page.waitForSelector('body[data-llest]');
  await page.evaluate(() => {
    window.temps = [];
    let handled = 0;
    // Before the page's own handlers, and the first to ask for the next frame.
    const mesura = (event) => {
      const start = performance.now();
      const input = event.timeStamp;
      handled = start;
      requestAnimationFrame(() => {
        const frame = performance.now();
        const channel = new MessageChannel();
        channel.port1.onmessage = () => {
          const end = performance.now();
          window.temps.push([handled - start + end - frame, end - start, end - input]);
        };
        channel.port2.postMessage(null);
      });
    };
    // After the page's handlers, and what they left to run at once.
    const handledNow = () => { handled = performance.now(); };
    for (const [type, selector] of [['click', 'button'], ['pointerdown', '.fletxa']]) {
      document.getElementById('client').addEventListener(type, (e) => { if (e.target.closest(selector)) mesura(e); }, true);
      window.addEventListener(type, (e) => { if (e.target.closest(selector)) handledNow(); });
    }
  });
  const centre = async (selector) => {
    const box = await (await page.$(selector)).boundingBox();
    return [box.x + box.width / 2, box.y + box.height / 2];
  };
  const at = {};
  for (const nom of ['cmdLlum(0)', 'cmdLlum(1)', 'cmdLlum(2)', 'cmdLlumOff(0)', 'cmdForaFiltres', 'cmdAnalisi',
    ...[0, 1, 2, 3, 4, 5].map((i) => `cmdfiltre(${i})`)]) {
    at[nom] = `[data-control="${nom}"]`;
  }
  const state = () => page.evaluate(() => ({
    filters: [...document.querySelectorAll('#formes li')].filter((li) => li.textContent.startsWith('filtre')).length,
    direction: Number(document.querySelector('[data-control="VSllum"]').getAttribute('aria-valuenow')),
  }));
  const click = async (selector) => {
    const [x, y] = await centre(selector);
    const count = await page.evaluate(() => window.temps.length);
    await page.mouse.click(x, y);
    await page.waitForFunction((n) => window.temps.length > n, {}, count);
  };
  const kinds = {};
  const run = async (name, step) => {
    const warmUp = 20;
    await page.evaluate(() => { window.temps = []; });
    for (let i = -warmUp; i < CLICKS; ++i) {
      await step(i);
      if (i === -1) await page.evaluate(() => { window.temps = []; });
    }
    kinds[name] = await page.evaluate(() => window.temps);
  };
  await click(at['cmdLlum(1)']);
  await click(at['cmdLlum(2)']);
  await run('lamp (red on/off, green+blue on)', (i) => click(at[i % 2 === 0 ? 'cmdLlum(0)' : 'cmdLlumOff(0)']));
  await click(at['cmdLlum(0)']);
  await run('filter (all lamps on)', async (i) => {
    if ((await state()).filters === 3) {
      await click(at.cmdForaFiltres);
      await page.evaluate(() => window.temps.pop());
    }
    await click(at[`cmdfiltre(${((i % 6) + 6) % 6})`]);
  });
  await run('analysis toggle', () => click(at.cmdAnalisi));
  await run('direction change (scroll bar)', async () => {
    const { direction } = await state();
    await click(`[data-control="VSllum"] .${direction ? 'amunt' : 'avall'}`);
  });
  if (await page.evaluate(() => document.getElementById('missatge').open)) throw new Error('a click opened a message box');
  await page.close();
  return kinds;
}

// Random clicks on whatever a user could click, boxes closed, the heap measured after a full
// collection before and after.
async function heap(browser) {
  const page = await browser.newPage();
  await page.goto(URL_);
  await page.waitForSelector('body[data-llest]');
  const cdp = await page.createCDPSession();
  const used = async () => {
    await cdp.send('HeapProfiler.collectGarbage');
    return (await cdp.send('Runtime.getHeapUsage')).usedSize;
  };
  const before = await used();
  await page.evaluate(async (count) => {
    let seed = 19;
    const random = () => {
      seed = (seed * 1103515245 + 12345) % 2147483648;
      return seed / 2147483648;
    };
    const idle = () => new Promise((resolve) => {
      const wait = () => (document.body.hasAttribute('data-ocupat') && !document.getElementById('missatge').open
        ? setTimeout(wait, 0) : resolve());
      wait();
    });
    for (let i = 0; i < count; ++i) {
      const buttons = [...document.querySelectorAll('#client button')].filter((b) => !b.hidden && !b.disabled);
      const items = [...document.querySelectorAll('#menus [role="menu"] [data-item]')];
      const arrows = [...document.querySelectorAll('.fletxa')];
      const all = [...buttons, ...items, ...arrows];
      const target = all[Math.floor(random() * all.length)];
      if (target.classList.contains('fletxa')) target.dispatchEvent(new PointerEvent('pointerdown'));
      else target.click();
      await idle();
      while (document.getElementById('missatge').open) {
        document.getElementById('missatge-acord').click();
        await idle();
      }
      if (i % 100 === 0) await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
    }
  }, RANDOM);
  const after = await used();
  await page.close();
  return { before, after };
}

(async () => {
  const size = fs.statSync(PAGE).size;
  const browser = await launch(['--disable-frame-rate-limit', '--disable-gpu-vsync']);
  console.log(`Machine: ${machine(await browser.version())}`);
  console.log(`Chromium headless, --disable-gpu; frames unthrottled (--disable-frame-rate-limit --disable-gpu-vsync)\n`);
  console.log(`corvani.html: ${size} bytes (${(size / 1024).toFixed(1)} KiB), goal <= 250 KiB: ${verdict(size <= 250 * 1024)}\n`);

  const { fresh, again } = await startUp(browser, URL_);
  const bare = await startUp(browser, barePage());
  const controls = await startUp(browser, await staticCopy(browser));
  const frames = fresh.map((l) => l.frame);
  const bareFrame = median(bare.fresh.map((l) => l.frame));
  console.log(`Navigation start to the first frame of the bench, median of ${LOADS} loads:`);
  console.log(`  in a fresh tab each: ${ms(median(frames))} (bench built by ${ms(median(fresh.map((l) => l.ready)))}), ` +
    `goal <= 100 ms: ${verdict(median(frames) <= 100)}`);
  console.log(`  loaded again in the same tab: ${ms(median(again.map((l) => l.frame)))} ` +
    `(bench built by ${ms(median(again.map((l) => l.ready)))})`);
  console.log(`  a bare page of one line, for comparison: ${ms(bareFrame)} in a fresh tab, ` +
    `${ms(median(bare.again.map((l) => l.frame)))} loaded again; the bench takes ` +
    `${(median(frames) / bareFrame).toFixed(2)} times the bare page's`);
  console.log(`  the bench's controls alone, copied into a page without script, module or strips: ` +
    `${ms(median(controls.fresh.map((l) => l.frame)))} in a fresh tab, ${ms(median(controls.again.map((l) => l.frame)))} loaded again\n`);

  console.log(`A click to the end of the next frame, ${CLICKS} of each, median and p99: its work (the event's handling`);
  console.log('and the frame\'s), judged; the whole time from the event, and from the input\'s time stamp, which wait for');
  console.log('the frame clock, not judged:');
  for (const ratio of [1, 3]) {
    const kinds = await clicks(browser, ratio);
    for (const [name, times] of Object.entries(kinds)) {
      const [work, whole, input] = [0, 1, 2].map((k) => times.map((t) => t[k]));
      const ok = median(work) <= 2 && percentile(work, 0.99) <= 8;
      const both = (v) => `${ms(median(v))}, ${ms(percentile(v, 0.99))}`;
      console.log(`  ${ratio}x ${name.padEnd(34)} work ${both(work)} ${verdict(ok)}; ` +
        `whole ${both(whole)}; from input ${both(input)}`);
    }
  }
  console.log('  goals: median <= 2 ms, p99 <= 8 ms\n');

  const { before, after } = await heap(browser);
  const growth = after - before;
  console.log(`JavaScript heap after ${RANDOM} random clicks: ${(before / 1024).toFixed(0)} KiB before, ` +
    `${(after / 1024).toFixed(0)} KiB after, ${(growth / 1024).toFixed(0)} KiB more; goal within 1 MiB: ` +
    `${verdict(Math.abs(growth) <= 1024 * 1024)}`);
  await close(browser);
  process.exit(failed ? 1 : 0);
})().catch((e) => {
  console.error(e);
  process.exit(2);
});
