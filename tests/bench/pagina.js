// The browser page's figures against their goals, in Debian's Chromium, headless (`make bench-web`;
// not a test). Each judged figure is read against a floor, a page measured in the same run, the
// two loaded or clicked in turn, so that the machine's speed at the time moves both alike:
// - navigation start to the bench's first frame, in fresh tabs and loaded again in one tab,
//   against a static copy of the bench's controls (no script, module or strips), with a bare page
//   of one line beside them;
// - a click's work on a lamp, a filter, the analysis button and the direction bar, at device pixel
//   ratios 1 and 3, against a page of one button over the strips whose click repaints a strip;
//   and the same again with the CPU slowed down six times, as on a low-end laptop, reported
//   against a frame at 60 Hz;
// - the page's size, and the JavaScript heap after 10,000 random clicks.
// Prints the machine and every figure; exits 1 if a goal is missed.
// Usage: node pagina.js PAGE.html [--loads N] [--clicks N] [--random N] [--only PART,...]
// where the parts are size, start, clicks (judged), slow (clicks on a slowed CPU) and heap; all by
// default.
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
const PARTS = ['size', 'start', 'clicks', 'slow', 'heap'];
const ONLY = args.includes('--only') ? String(args[args.indexOf('--only') + 1]).split(',') : PARTS;
if (!PAGE || !fs.existsSync(PAGE) || ONLY.some((part) => !PARTS.includes(part))) {
  console.error(`usage: node pagina.js PAGE.html [--loads N] [--clicks N] [--random N] [--only ${PARTS.join(',')}]`);
  process.exit(2);
}
const runs = (part) => ONLY.includes(part);
const URL_ = pathToFileURL(path.resolve(PAGE)).href;

// The goals.
const SIZE = 250 * 1000; // bytes
const FIRST_FRAME = 1.25; // times the static copy's
const CLICK_MEDIAN = 1.5; // times the floor page's median
const CLICK_P99 = 2; // times the floor page's p99
const HEAP = 1024 * 1024; // bytes
// Reported, not judged.
const THROTTLE = 6; // times slower CPU
const FRAME_60HZ = 1000 / 60; // ms

const VIEWPORT = { width: 867, height: 640 }; // the bench at scale 1 under the menu bar
const ROUNDS = 6; // each kind of click in this many turns on the bench and the floor page
const SETTLE = 5; // clicks after each change of tab, not counted

const median = (v) => [...v].sort((a, b) => a - b)[Math.floor((v.length - 1) / 2)];
const percentile = (v, p) => [...v].sort((a, b) => a - b)[Math.min(v.length - 1, Math.ceil(p * v.length) - 1)];
const ms = (v) => `${v.toFixed(2)} ms`;
const times = (a, b) => `${(a / b).toFixed(2)}x`;

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
  return `${os.cpus().length} cores (${cpu}), ${(os.totalmem() / 2 ** 30).toFixed(0)} GiB, ${release}, ${version}`;
}
const load = () => `load average ${os.loadavg().map((l) => l.toFixed(2)).join(' ')}`;

// A page to compare the bench with, in a folder of its own for the run.
function comparisonPage(html) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'corvani-compare-'));
  process.on('exit', () => fs.rmSync(folder, { recursive: true, force: true }));
  const file = path.join(folder, 'page.html');
  fs.writeFileSync(file, html);
  return pathToFileURL(file).href;
}

// Marked ready as its body ends, as the bench marks itself once it is whole.
const markedReady = (html) => html.replace('</body>',
  '<script>performance.mark("llest"); document.body.dataset.llest = "";</script></body>');

// A page with one line of text and nothing else: what this browser on this machine takes to show
// any page at all.
function barePage() {
  return comparisonPage(markedReady('<!DOCTYPE html><html lang="ca"><head><meta charset="utf-8"><title>Corvani</title></head>' +
    '<body><p>Corvani</p></body></html>'));
}

// The bench's controls as the page has built them, copied into a page of their own without the
// script, the module or the strips: what showing the controls alone takes, however the page came
// to build them.
async function staticCopy(browser) {
  const page = await browser.newPage();
  await page.setViewport({ ...VIEWPORT, deviceScaleFactor: 1 });
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
  return comparisonPage(markedReady(html));
}

// The floor for a click: one button over strips as many and as large as the bench's bands, in
// device pixels at the page's ratio, whose click repaints a rectangle of one strip. The other
// strips are never painted on, so that the browser has only the one strip to copy to the screen:
// the least any page that repaints a strip as a button is clicked can cost.
function floorPage() {
  return comparisonPage(markedReady(`<!DOCTYPE html><html lang="ca"><head><meta charset="utf-8"><title>Corvani</title><style>
html, body { margin: 0; height: 100%; overflow: hidden; background: #000; }
#client { position: absolute; left: 0; top: 22px; right: 0; bottom: 0; overflow: hidden; background: #000; }
canvas { position: absolute; left: 0; image-rendering: pixelated; }
button { position: absolute; left: 100px; top: 100px; width: 70px; height: 50px; border: 0; background: #c0c0c0;
  box-shadow: inset 1px 1px #fff, inset -1px -1px #000; font: 11px Arial, sans-serif; }
button:active { box-shadow: inset 1px 1px #000, inset -1px -1px #fff; }
</style></head><body><main id="client"><div id="tires"></div><button type="button">Llum</button></main><script>
(() => {
  const ratio = devicePixelRatio, band = Math.round(40 * ratio);
  const width = Math.round(innerWidth * ratio), height = Math.round((innerHeight - 22) * ratio);
  const strips = [];
  for (let top = 0; top < height; top += band) {
    const strip = document.createElement('canvas');
    strip.width = width;
    strip.height = Math.min(band, height - top);
    Object.assign(strip.style, { top: top / ratio + 'px', width: width / ratio + 'px', height: strip.height / ratio + 'px' });
    document.getElementById('tires').append(strip);
    strips.push(strip.getContext('2d', { alpha: false }));
  }
  const pixels = [0xff0000ff, 0xff00ff00].map((colour) => {
    const data = new ImageData(Math.round(200 * ratio), Math.round(30 * ratio));
    new Uint32Array(data.data.buffer).fill(colour);
    return data;
  });
  let shown = 0;
  document.querySelector('button').addEventListener('click', () => {
    shown = 1 - shown;
    strips[Math.floor(strips.length / 2)].putImageData(pixels[shown], 50, 5);
  });
})();
</script></body></html>`));
}

// When a page first presents itself whole: the page marks "llest" once what its first frame shows
// is done (the bench, the rest of its work waiting for that frame), and a mark on
// the screen placed then is presented with the first frame that follows, whose time the browser
// gives as the mark's render time (Element Timing).
async function watchFirstFrame(page) {
  await page.evaluateOnNewDocument(() => {
    const mark = performance.mark.bind(performance);
    performance.mark = (name, ...rest) => {
      const entry = mark(name, ...rest);
      if (name === 'llest') {
        const probe = document.createElement('div');
        probe.setAttribute('elementtiming', 'llest');
        probe.textContent = '.';
        probe.style.cssText = 'position: fixed; right: 0; bottom: 0; font-size: 1px; line-height: 1px; color: #000; ' +
          'pointer-events: none; z-index: 2147483647';
        document.body.append(probe);
      }
      return entry;
    };
  });
}

async function loadOnce(page, url) {
  await page.goto(url);
  await page.waitForSelector('body[data-llest]');
  return page.evaluate(() => new Promise((resolve) => {
    new PerformanceObserver((list, observer) => {
      const entry = list.getEntries().find((e) => e.identifier === 'llest');
      if (!entry) return;
      observer.disconnect();
      resolve({ frame: entry.renderTime, ready: performance.getEntriesByName('llest')[0].startTime });
    }).observe({ type: 'element', buffered: true });
  }));
}

// Each page in a fresh tab and then loaded again in it, the pages in turn, each first in turn.
async function startUp(browser, urls) {
  const results = urls.map(() => ({ fresh: [], again: [] }));
  for (let i = 0; i < LOADS; ++i) {
    for (let k = 0; k < urls.length; ++k) {
      const which = (i + k) % urls.length;
      const page = await browser.newPage();
      await page.setViewport({ ...VIEWPORT, deviceScaleFactor: 1 });
      await watchFirstFrame(page);
      results[which].fresh.push(await loadOnce(page, `${urls[which]}?tab=${i}`));
      results[which].again.push(await loadOnce(page, `${urls[which]}?again=${i}`));
      await page.close();
    }
  }
  return results;
}

// Clicks are sent as the browser's own input and timed in the page from the event that acts (a
// button's click, the bar's press on an arrow) to the end of the next frame: a task queued from
// the frame's first animation callback runs once the frame has been laid out, painted and
// committed. Each click gives its work, the event's handling and the frame's, without the wait
// between them for the frame to begin; the whole time from the event, the wait included; and the
// time from the input's own time stamp, as the browser took it.
async function openForClicks(browser, url, ratio, throttle) {
  const page = await browser.newPage();
  await page.setViewport({ ...VIEWPORT, deviceScaleFactor: ratio });
  await page.goto(url);
  await page.waitForSelector('body[data-llest]');
  if (throttle > 1) await (await page.createCDPSession()).send('Emulation.setCPUThrottlingRate', { rate: throttle });
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
  const clickAt = async (selector) => {
    const box = await (await page.$(selector)).boundingBox();
    const count = await page.evaluate(() => window.temps.length);
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await page.waitForFunction((n) => window.temps.length > n, {}, count);
  };
  // The clicks' times from here on, which a click that is not to count takes back.
  const taken = async () => page.evaluate(() => window.temps.splice(0));
  const drop = () => page.evaluate(() => window.temps.pop());
  return { page, clickAt, taken, drop };
}

// The bench's four kinds of click, each from the state it needs, and the floor page's one.
const control = (nom) => `[data-control="${nom}"]`;
const KINDS = [
  {
    name: 'lamp (red on/off, green+blue on)',
    async prepare(b) {
      await b.clickAt(control('cmdLlum(1)'));
      await b.clickAt(control('cmdLlum(2)'));
      b.i = 0;
    },
    step: (b) => b.clickAt(control(b.i++ % 2 === 0 ? 'cmdLlum(0)' : 'cmdLlumOff(0)')),
    // All three lamps on, for the filters.
    async leave(b) {
      if (b.i % 2 === 0) await b.clickAt(control('cmdLlum(0)'));
    },
  },
  {
    name: 'filter (all lamps on)',
    prepare(b) { b.i = 0; },
    async step(b) {
      const filters = await b.page.evaluate(() => [...document.querySelectorAll('#formes li')]
        .filter((li) => li.textContent.startsWith('filtre')).length);
      if (filters === 3) {
        await b.clickAt(control('cmdForaFiltres'));
        await b.drop();
      }
      await b.clickAt(control(`cmdfiltre(${b.i++ % 6})`));
    },
  },
  { name: 'analysis toggle', step: (b) => b.clickAt(control('cmdAnalisi')) },
  {
    name: 'direction change (scroll bar)',
    async step(b) {
      const direction = await b.page.$eval(control('VSllum'), (bar) => Number(bar.getAttribute('aria-valuenow')));
      await b.clickAt(`${control('VSllum')} .${direction ? 'amunt' : 'avall'}`);
    },
  },
];

// Every kind of click on the bench, in turns with as many clicks on the floor page, at a ratio.
async function clicks(browser, ratio, throttle, floorUrl) {
  const bench = await openForClicks(browser, URL_, ratio, throttle);
  const floor = await openForClicks(browser, floorUrl, ratio, throttle);
  const clickFloor = () => floor.clickAt('button');
  const turn = async (tab, step, count) => {
    await tab.page.bringToFront();
    for (let i = 0; i < SETTLE; ++i) await step(tab);
    await tab.taken();
    for (let i = 0; i < count; ++i) await step(tab);
    return tab.taken();
  };
  const results = [];
  for (const kind of KINDS) {
    // A tab behind another has no frames.
    await bench.page.bringToFront();
    if (kind.prepare) await kind.prepare(bench);
    const result = { name: kind.name, bench: [], floor: [] };
    for (let r = 0; r < ROUNDS; ++r) {
      const count = Math.ceil((CLICKS * (r + 1)) / ROUNDS) - Math.ceil((CLICKS * r) / ROUNDS);
      result.bench.push(...await turn(bench, kind.step, count));
      result.floor.push(...await turn(floor, clickFloor, count));
    }
    await bench.page.bringToFront();
    if (kind.leave) await kind.leave(bench);
    results.push(result);
  }
  if (await bench.page.evaluate(() => document.getElementById('missatge').open)) throw new Error('a click opened a message box');
  await bench.page.close();
  await floor.page.close();
  return results;
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

function printClicks(results, ratio, judged) {
  for (const { name, bench, floor } of results) {
    const [work, whole, input] = [0, 1, 2].map((k) => bench.map((t) => t[k]));
    const floorWork = floor.map((t) => t[0]);
    const [m, p] = [median(work), percentile(work, 0.99)];
    const [fm, fp] = [median(floorWork), percentile(floorWork, 0.99)];
    let line = `  ${ratio}x ${name.padEnd(34)} work ${ms(m)}, p99 ${ms(p)}; floor ${ms(fm)}, p99 ${ms(fp)}; `;
    if (judged) {
      line += `median ${times(m, fm)} (<= ${CLICK_MEDIAN}x), p99 ${times(p, fp)} (<= ${CLICK_P99}x): ` +
        `${verdict(m <= CLICK_MEDIAN * fm && p <= CLICK_P99 * fp)}; ` +
        `whole ${ms(median(whole))}, p99 ${ms(percentile(whole, 0.99))}; from input ${ms(median(input))}`;
    } else {
      line += `work median and p99 within one frame at 60 Hz (${ms(FRAME_60HZ)}): ` +
        `${m <= FRAME_60HZ ? 'yes' : 'no'}, ${p <= FRAME_60HZ ? 'yes' : 'no'}`;
    }
    console.log(line);
  }
}

(async () => {
  const browser = await launch(['--disable-frame-rate-limit', '--disable-gpu-vsync']);
  console.log(`Machine: ${machine(await browser.version())}; ${load()} as the run starts`);
  console.log('Chromium headless, --disable-gpu; frames unthrottled (--disable-frame-rate-limit --disable-gpu-vsync)');
  if (runs('size')) {
    const size = fs.statSync(PAGE).size;
    console.log(`\ncorvani.html: ${size} bytes, goal <= ${SIZE} bytes: ${verdict(size <= SIZE)}`);
  }

  if (runs('start')) {
    const [bench, controls, bare] = await startUp(browser, [URL_, await staticCopy(browser), barePage()]);
    console.log(`\nNavigation start to the first frame of the bench, median of ${LOADS} loads of each page in turn:`);
    for (const [how, key] of [['in a fresh tab each', 'fresh'], ['loaded again in the same tab', 'again']]) {
      const frame = median(bench[key].map((l) => l.frame));
      const floor = median(controls[key].map((l) => l.frame));
      console.log(`  ${how}: ${ms(frame)} (bench built by ${ms(median(bench[key].map((l) => l.ready)))}); ` +
        `the controls alone, static: ${ms(floor)}; ${times(frame, floor)}, goal <= ${FIRST_FRAME}x: ` +
        `${verdict(frame <= FIRST_FRAME * floor)}; a bare page of one line: ${ms(median(bare[key].map((l) => l.frame)))}`);
    }
  }

  const floorUrl = floorPage();
  if (runs('clicks')) {
    console.log(`\nA click to the end of the next frame, ${CLICKS} of each kind in ${ROUNDS} turns with as many on the floor page`);
    console.log('(one button over the strips), median and p99: the work, the event\'s handling and the frame\'s, judged against');
    console.log('the floor\'s; the whole time from the event, and from the input\'s time stamp, which wait for the frame clock, not judged:');
    for (const ratio of [1, 3]) printClicks(await clicks(browser, ratio, 1, floorUrl), ratio, true);
  }
  if (runs('slow')) {
    console.log(`\nThe same with the CPU slowed down ${THROTTLE} times (Emulation.setCPUThrottlingRate), reported, not judged:`);
    for (const ratio of [1, 3]) printClicks(await clicks(browser, ratio, THROTTLE, floorUrl), ratio, false);
  }

  if (runs('heap')) {
    const { before, after } = await heap(browser);
    const growth = after - before;
    console.log(`\nJavaScript heap after ${RANDOM} random clicks: ${(before / 1024).toFixed(0)} KiB before, ` +
      `${(after / 1024).toFixed(0)} KiB after, ${(growth / 1024).toFixed(0)} KiB more; goal within 1 MiB: ` +
      `${verdict(Math.abs(growth) <= HEAP)}`);
  }
  console.log(`\n${load()} as the run ends`);
  await close(browser);
  process.exit(failed ? 1 : 0);
})().catch((e) => {
  console.error(e);
  process.exit(2);
});
