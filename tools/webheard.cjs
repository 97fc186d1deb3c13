// What a listener of the page hears, in real time in headless Chromium, judged as tools/heard.py
// judges a sound server's capture of the native show: a tap after the page's player takes every
// sample it plays; once 45 s of music have played, runs of silence of 0.5 ms or more are gaps
// inside scenes or pauses at scene changes, and a click where a sample next to one is above 64
// (of 32768), where a ramp would have ended near zero. Also the player's own figures (times it
// ran dry, started again, dropped blocks). Figures, not a test.
// Usage: node webheard.cjs URL SECONDS   (playwright-core on NODE_PATH)
'use strict';
const { launchChromium } = require('./webchromium.cjs');

const [url, seconds] = process.argv.slice(2);

// Runs of exact zeros of 0.5 ms or more once 45 s of music have played (before that the music
// itself has silent stretches), each with the samples next to it; a ramp ends near zero.
const tap = `
  const MIN_GAP = 22, SETTLE = 45 * 44100;
  class KromTap extends AudioWorkletProcessor {
    constructor() {
      super();
      this.f = { samples: 0, music: -1, gaps: [], peak: 0 };
      this.run = 0; this.last = 0; this.calls = 0;
    }
    process(inputs) {
      const input = inputs[0][0];
      const f = this.f;
      for (let i = 0; input && i < input.length; i++) {
        const v = input[i];
        f.samples++;
        if (f.music < 0) {
          if (v !== 0) f.music = f.samples;
          this.last = v;
          continue;
        }
        if (v === 0) {
          if (this.run++ === 0) this.before = this.last;
        } else {
          if (this.run >= MIN_GAP && f.samples - this.run > f.music + SETTLE) {
            f.gaps.push([f.samples - this.run, this.run, this.before, v]);
          }
          this.run = 0;
          f.peak = Math.max(f.peak, Math.abs(v));
        }
        this.last = v;
      }
      if (++this.calls % 16 === 0) this.port.postMessage(f);
      return true;
    }
  }
  registerProcessor('krom-tap', KromTap);`;

(async () => {
  const browser = await launchChromium();
  const page = await browser.newPage();
  page.on('console', (m) => { if (m.type() === 'error') console.log(`page error: ${m.text()}`); });
  await page.goto(url + '?seed=7');
  await page.click('#prompt');
  await page.waitForFunction(() => window.krom.player, null, { polling: 10, timeout: 30000 });
  await page.evaluate(async (code) => {
    const k = window.krom;
    const blob = URL.createObjectURL(new Blob([code], { type: 'application/javascript' }));
    await k.context.audioWorklet.addModule(blob);
    const node = new AudioWorkletNode(k.context, 'krom-tap', { numberOfInputs: 1, numberOfOutputs: 0 });
    node.port.onmessage = (e) => { k.heard = e.data; };
    k.player.connect(node);
  }, tap);
  // Scene changes on the tap's clock: a fade presents 256 frames at once, so a look that sees
  // more than 100 presents since the last one lies in a change. The page looks for itself every
  // 50 ms (asking it from here that often would hold up its frames).
  await page.evaluate(() => {
    const k = window.krom;
    k.changes = [];
    let last = null;
    setInterval(() => {
      const now = { presents: k.module ? k.module.kromFrames || 0 : 0, at: k.heard ? k.heard.samples : 0 };
      if (last && now.presents - last.presents > 100) k.changes.push([last.at, now.at]);
      last = now;
    }, 50);
  });
  await page.waitForTimeout(Number(seconds) * 1000);
  const changes = await page.evaluate(() => window.krom.changes);
  const f = await page.evaluate(() => window.krom.heard);
  const s = await page.evaluate(() => window.krom.audioStats);
  await browser.close();
  if (!f || f.music < 0) {
    console.log('heard: nothing but silence');
    process.exit(1);
  }
  const RATE = 44100, RAMP_LIMIT = 64 / 32768, SLACK = 0.3 * RATE;
  const judged = (f.samples - f.music) / RATE - 45;
  console.log(`heard\t${(f.samples / RATE).toFixed(1)} s, music from ${(f.music / RATE).toFixed(2)} s, ` +
              `peak ${f.peak.toFixed(3)}; judged the ${judged.toFixed(1)} s after the first 45 s of music`);
  let clicks = 0;
  const pauses = [], inside = [];
  for (const [start, length, before, after] of f.gaps) {
    if (Math.abs(before) > RAMP_LIMIT || Math.abs(after) > RAMP_LIMIT) clicks++;
    const atChange = changes.some(([a, b]) => start >= a - SLACK && start <= b + SLACK);
    (atChange ? pauses : inside).push(length / RATE * 1000);
    if (!atChange) {
      const near = changes.reduce((m, [a, b]) => Math.min(m, Math.abs(start - a), Math.abs(start - b)), Infinity);
      console.log(`  gap of ${(length / RATE * 1000).toFixed(1)} ms at ${(start / RATE).toFixed(2)} s, ` +
                  `${(near / RATE).toFixed(2)} s from a scene change`);
    }
  }
  const range = (v) => v.length ? ` (${Math.min(...v).toFixed(0)} to ${Math.max(...v).toFixed(0)} ms)` : '';
  console.log(`gaps inside scenes\t${inside.length}${range(inside)}`);
  console.log(`pauses at scene changes\t${pauses.length}${range(pauses)}, ${changes.length} changes in the whole run`);
  console.log(`clicks (silence entered or left without a ramp)\t${clicks}`);
  console.log(`player\tran dry ${s.dry} times, started ${s.starts} times, overflowed ${s.dropped} times; ` +
              `speed within ${(s.skew * 100).toFixed(3)} % of nominal after 45 s of playing`);
})();
