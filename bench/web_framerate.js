// The page's pace in headless Chromium: game frames a second (as the game
// itself counts them: with ?verbose it says every 5 s how many frames ran
// and how many pictures it showed), pictures the browser painted a second
// (animation frames in which at least one new picture arrived), measured
// over the title's fountain after the start gate.
//
//   node web_framerate.js URL CHROMIUM SECONDS [WIDTHxHEIGHT]
// Prints one line of figures.
'use strict';
const puppeteer = require('puppeteer-core');

const [url, chromium, seconds = '10', size = '1280x960'] = process.argv.slice(2);
const [width, height] = size.split('x').map(Number);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function main() {
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', `--window-size=${width},${height}`],
  });
  const page = await browser.newPage();
  const said = [];
  page.on('console', (message) => {
    const m = /([0-9.]+) game frames a second, ([0-9.]+) pictures shown a second/.exec(message.text());
    if (m) said.push({ frames: Number(m[1]), pictures: Number(m[2]), at: Date.now() });
  });
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  // Counted from the page's first script on: uploads, and painted frames.
  await page.evaluateOnNewDocument(() => {
    const counts = (window.benchCounts = { uploads: 0, painted: 0, ticks: 0 });
    let seen = 0;
    for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
      if (!type) continue;
      const upload = type.prototype.texSubImage2D;
      type.prototype.texSubImage2D = function () {
        counts.uploads++;
        return upload.apply(this, arguments);
      };
    }
    const tick = () => {
      counts.ticks++;
      if (counts.uploads !== seen) counts.painted++;
      seen = counts.uploads;
      requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  });
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForSelector('#gate:not(.hidden)', { timeout: 60000 });
  await page.keyboard.press('KeyX');
  await sleep(2000);  // start-up and the title wave
  const read = () => page.evaluate(() => ({ ...window.benchCounts, at: performance.now() }));
  const a = await read();
  const from = said.length;
  await sleep(Number(seconds) * 1000);
  const b = await read();
  const span = (b.at - a.at) / 1000;
  const reports = said.slice(from);
  if (reports.length === 0) throw new Error('the game said nothing of its pace (is ?verbose in the address?)');
  const mean = (key) => reports.reduce((sum, r) => sum + r[key], 0) / reports.length;
  const uploads = (b.uploads - a.uploads) / span;
  const painted = (b.painted - a.painted) / span;
  const ticks = (b.ticks - a.ticks) / span;
  console.log(`game frames/s ${mean('frames').toFixed(1)} (${reports.map((r) => r.frames).join(', ')})  ` +
              `pictures shown/s ${mean('pictures').toFixed(1)}  uploads/s ${uploads.toFixed(1)}  ` +
              `painted/s ${painted.toFixed(1)}  animation frames/s ${ticks.toFixed(1)}  over ${span.toFixed(1)} s ` +
              `at ${size}`);
  await browser.close();
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
