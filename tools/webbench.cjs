// Figures of the show's page in headless Chromium: the page's transfer size (gzip), the time
// from opening it to the loading screen, and the frame work over one whole cycle of scenes
// stepped back to back (median and p99, frames after a set-up or a fade not counted).
// Usage: node webbench.cjs URL BUILD_WEB CYCLE_PRESENTS   (playwright-core on NODE_PATH)
'use strict';
const { launchChromium } = require('./webchromium.cjs');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const [url, dir, cycle] = process.argv.slice(2);

(async () => {
  let total = 0;
  for (const f of ['index.html', 'krom7316.js', 'krom7316.wasm']) {
    const gz = zlib.gzipSync(fs.readFileSync(path.join(dir, f)), { level: 9 }).length;
    total += gz;
    console.log(`${f}\t${gz} bytes gzipped`);
  }
  console.log(`page\t${total} bytes gzipped`);

  const browser = await launchChromium();
  const page = await browser.newPage();
  const opened = Date.now();
  await page.goto(url + '?seed=1&step=manual');
  await page.evaluate(() => { window.krom.grab = { 0: null }; });
  await page.click('#prompt');
  await page.waitForFunction(() => window.krom.grab[0] !== null, null, { polling: 10, timeout: 30000 });
  console.log(`open to loading screen\t${Date.now() - opened} ms (the click included)`);
  await page.evaluate(() => {
    window.krom.module.kromWork = [];
    window.krom.module.kromCredit = 1e9;
  });
  // kromWork keeps the last 4096 frames: collect them as they come.
  const work = [];
  let seen = 0;
  for (;;) {
    const got = await page.evaluate(() => {
      const m = window.krom.module;
      const w = m.kromWork;
      m.kromWork = [];
      return { w, presents: m.kromFrames };
    });
    work.push(...got.w);
    seen = got.presents;
    if (seen >= Number(cycle)) break;
    await page.waitForTimeout(500);
  }
  await browser.close();
  work.sort((a, b) => a - b);
  const at = (q) => work[Math.min(work.length - 1, Math.floor(q * work.length))] / 1000;
  console.log(`frame work over ${work.length} frames (${seen} presents)\tmedian ${at(0.5).toFixed(3)} ms\t` +
              `p99 ${at(0.99).toFixed(3)} ms\tmax ${at(1).toFixed(3)} ms`);
})();
