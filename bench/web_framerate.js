// The page's pace in headless Chromium: game frames a second (each frame
// hands WebGL one picture upload), pictures the browser painted a second
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
  await sleep(Number(seconds) * 1000);
  const b = await read();
  const span = (b.at - a.at) / 1000;
  const fps = (b.uploads - a.uploads) / span;
  const painted = (b.painted - a.painted) / span;
  const ticks = (b.ticks - a.ticks) / span;
  console.log(`game frames/s ${fps.toFixed(1)}  painted pictures/s ${painted.toFixed(1)}  ` +
              `animation frames/s ${ticks.toFixed(1)}  over ${span.toFixed(1)} s at ${size}`);
  await browser.close();
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
