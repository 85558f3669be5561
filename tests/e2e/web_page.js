// One browser session through the page, in headless Chromium: the loading
// gate, the title as stakko-sim draws it, a game started by Space and moved
// by keys and by the touch buttons, a game over whose typed name is stored in
// IndexedDB and still there after a reload, sound running after the first
// key, and Escape's "Yes" ending the game with the page saying so.
//
//   node web_page.js URL CHROMIUM TITLE_FRAME_PNG ARTIFACTS_DIR
// Exit status 0 when every step held, 1 otherwise (the failing step named).
'use strict';
const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [url, chromium, titleFrame, artifacts] = process.argv.slice(2);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const WELL_LEFT = 224;
// The column spawns above the well; the touch buttons stand over the
// well's bottom rows.
const WELL_TOP = 0;
const WELL_ROWS_SEEN = 11;
const CELL = 32;

function step(what) {
  console.log('STEP     ' + what);
}

async function waitFor(what, test, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > end) throw new Error('timed out waiting for ' + what);
    await sleep(100);
  }
}

// The canvas's picture as RGBA rows, decoded by the browser itself.
async function picture(page) {
  const png = await page.screenshot({ encoding: 'base64', clip: { x: 0, y: 0, width: 640, height: 480 } });
  return { png, width: 640, height: 480 };
}

// Decodes PNGs in the page and compares or measures there; returns plain data.
async function inPage(page, fn, ...args) {
  return page.evaluate(async (source, args) => {
    const decode = async (b64) => {
      const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
      const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      const context = canvas.getContext('2d');
      context.drawImage(bitmap, 0, 0);
      return context.getImageData(0, 0, bitmap.width, bitmap.height);
    };
    return (0, eval)('(' + source + ')')(decode, ...args);
  }, fn.toString(), args);
}

// Share of the pixels in the top rows that are exactly the frame's.
async function sameShare(page, shot, frameB64, rows) {
  return inPage(page, async (decode, a, b, rows) => {
    const x = await decode(a);
    const y = await decode(b);
    let same = 0;
    for (let i = 0; i < 640 * rows; i++) {
      const p = i * 4;
      if (x.data[p] === y.data[p] && x.data[p + 1] === y.data[p + 1] && x.data[p + 2] === y.data[p + 2]) same++;
    }
    return same / (640 * rows);
  }, shot.png, frameB64, rows);
}

// The falling column's well column (0-5) while the well is otherwise empty:
// the one column of cells that does not look like the others; null if not
// exactly one does (another screen, or jewels already lying).
async function pieceColumn(page) {
  const shot = await picture(page);
  return inPage(page, async (decode, b64, left, top, cell, rows) => {
    const img = await decode(b64);
    const sig = [];
    for (let c = 0; c < 6; c++) {
      let h = 0;
      for (let y = top; y < top + rows * cell; y++) {
        for (let x = left + c * cell; x < left + (c + 1) * cell; x++) {
          const p = (y * 640 + x) * 4;
          h = (Math.imul(h, 31) + img.data[p] * 65536 + img.data[p + 1] * 256 + img.data[p + 2]) | 0;
        }
      }
      sig.push(h);
    }
    const odd = sig.map((s, c) => c).filter((c) => sig.filter((s) => s === sig[c]).length === 1);
    return odd.length === 1 && new Set(sig).size === 2 ? odd[0] : null;
  }, shot.png, WELL_LEFT, WELL_TOP, CELL, WELL_ROWS_SEEN);
}

async function hold(page, key, ms) {
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
}

async function touch(page, selector, ms) {
  const box = await (await page.$(selector)).boundingBox();
  await page.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
  await sleep(ms);
  await page.touchscreen.touchEnd();
}

async function storedTable(page) {
  return page.evaluate(() => new Promise((resolve) => {
    const open = indexedDB.open('/Data');
    open.onerror = () => resolve(null);
    open.onsuccess = () => {
      const db = open.result;
      if (!db.objectStoreNames.contains('FILE_DATA')) return resolve(null);
      const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/Data/highscore.dat');
      get.onsuccess = () => resolve(get.result && get.result.contents ? Array.from(get.result.contents) : null);
      get.onerror = () => resolve(null);
    };
  }));
}
const holds = (bytes, text) => bytes !== null && Buffer.from(bytes).includes(Buffer.from(text));

async function main() {
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    // Root in a container: no sandbox. WebGL on the processor: SwiftShader.
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--window-size=640,480'],
  });
  const page = await browser.newPage();
  const log = [];
  page.on('console', (m) => log.push(m.type() + ': ' + m.text()));
  page.on('pageerror', (e) => log.push('pageerror: ' + e.message));
  let failed = null;
  try {
    await page.setViewport({ width: 640, height: 480, deviceScaleFactor: 1, hasTouch: true });
    step('the page loads and asks for a click or a key');
    await page.goto(url + '?touch=1', { waitUntil: 'load' });
    await page.waitForSelector('#gate:not(.hidden)', { timeout: 60000 });

    step('the first key starts the game, and its sound runs');
    await hold(page, 'KeyX', 50);
    await waitFor('the audio context to run',
      () => page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state === 'running'),
      10000);

    step('the title appears as stakko-sim draws it');
    await sleep(1500);
    const title = await picture(page);
    fs.writeFileSync(path.join(artifacts, 'title.png'), Buffer.from(title.png, 'base64'));
    // The fountain's jewels fly over the title and the touch buttons stand
    // over its bottom: most of the rest must be the very same pixels.
    const share = await sameShare(page, title, fs.readFileSync(titleFrame).toString('base64'), 400);
    if (share < 0.7) throw new Error('the title matches stakko-sim\'s frame in only ' + (100 * share).toFixed(1) + '% of its pixels');
    console.log('         title: ' + (100 * share).toFixed(1) + '% of the pixels identical');

    step('Space starts a game; Left and the touch Right button move the column');
    await hold(page, 'Space', 100);
    const start = await waitFor('the falling column', () => pieceColumn(page), 20000);
    // A press the game's move timer has not yet taken is pressed again.
    const left = await waitFor('the column to move left', async () => {
      await hold(page, 'ArrowLeft', 60);
      await sleep(300);
      const c = await pieceColumn(page);
      return c !== null && c < start ? c : null;
    }, 5000);
    await waitFor('the column to move right by touch', async () => {
      await touch(page, '#touch [data-key=Right]', 60);
      await sleep(300);
      const c = await pieceColumn(page);
      return c !== null && c > left;
    }, 5000);
    fs.writeFileSync(path.join(artifacts, 'play.png'), Buffer.from((await picture(page)).png, 'base64'));
    console.log('         column ' + start + ', then ' + left + ' by key, then further right by touch');

    step('dropped columns end the game; the typed name is stored in IndexedDB');
    for (let i = 0; i < 24; i++) {
      await touch(page, '#touch [data-key=Space]', 60);
      await sleep(350);
    }
    await sleep(4000);
    for (let i = 0; i < 30; i++) {
      await hold(page, 'Backspace', 40);
      await sleep(260);
    }
    for (const key of ['KeyW', 'KeyE', 'KeyB']) {
      await hold(page, key, 40);
      await sleep(260);
    }
    await hold(page, 'Enter', 80);
    await waitFor('the save to be written through', () => page.evaluate(() => stakkoPage.saves > 0), 15000);
    if (!holds(await storedTable(page), 'WEB')) throw new Error('IndexedDB holds no table with the name WEB');

    step('after a reload the table is still there');
    await page.reload({ waitUntil: 'load' });
    await page.waitForSelector('#gate:not(.hidden)', { timeout: 60000 });
    const after = await page.evaluate(() => Array.from(FS.readFile('/Data/highscore.dat')));
    if (!holds(after, 'WEB')) throw new Error('the reloaded page lost the name WEB');

    step('Escape on the title asks, and "Yes" clicked with the mouse ends the game');
    await page.mouse.click(320, 240);
    await sleep(1500);
    await hold(page, 'Escape', 100);
    await sleep(1000);
    await page.mouse.move(300, 200);
    await sleep(400);
    await page.mouse.move(388, 262, { steps: 5 });
    await sleep(400);
    await page.mouse.down();
    await sleep(150);
    await page.mouse.up();
    await waitFor('the game to end', () => page.evaluate(() => stakkoPage.ended !== null), 10000);
    const end = await page.evaluate(() => ({
      code: stakkoPage.ended,
      text: document.getElementById('status').textContent,
      again: !document.getElementById('again').classList.contains('hidden'),
    }));
    if (end.code !== 0 || end.text !== 'The game has ended.' || !end.again) {
      throw new Error('the end was reported as ' + JSON.stringify(end));
    }
  } catch (error) {
    failed = error;
    try {
      await page.screenshot({ path: path.join(artifacts, 'failure.png') });
    } catch (_) {}
  }
  fs.writeFileSync(path.join(artifacts, 'console.log'), log.join('\n') + '\n');
  await browser.close();
  if (failed) {
    console.log('FAIL     ' + failed.message + ' (the page\'s console: ' + path.join(artifacts, 'console.log') + ')');
    process.exit(1);
  }
  console.log('PASS     the page plays, stores, reloads and ends');
}

main().catch((error) => {
  console.log('FAIL     ' + error.stack);
  process.exit(1);
});
