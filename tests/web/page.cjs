// The show's page in headless Chromium: the start prompt, the loading screen, the intro's
// moving frames, the sound, the keys P and ESC (and starting again), no console errors, and,
// with the recorder's frames and sound for a pinned seed, chosen presents equal to them pixel for
// pixel and the sound the page writes equal to the recorder's sample for sample.
// Usage: node page.cjs URL SEED [RECORDER_PNG_DIR]   (playwright-core on NODE_PATH)
'use strict';
const { launchChromium } = require('../../tools/webchromium.cjs');
const { execFileSync } = require('child_process');
const path = require('path');

const [url, seed, golden] = process.argv.slice(2);
const results = [];
const errors = [];

function check(name, ok, detail) {
  results.push({ name, ok });
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${ok || !detail ? '' : ': ' + detail}`);
}

async function waitFor(page, fn, arg, ms) {
  try {
    await page.waitForFunction(fn, arg, { timeout: ms, polling: 50 });
    return true;
  } catch (e) {
    return false;
  }
}

// The canvas as 0x00RRGGBB words.
async function canvasWords(page) {
  return page.evaluate(() => {
    const c = document.getElementById('screen');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const w = new Array(d.length / 4);
    for (let i = 0; i < w.length; i++) w[i] = (d[4 * i] << 16) | (d[4 * i + 1] << 8) | d[4 * i + 2];
    return w;
  });
}

const frames = (page) => page.evaluate(() => (window.krom.module ? window.krom.module.kromFrames || 0 : 0));

function firstDifference(a, b) {
  if (a.length !== b.length) return `lengths ${a.length} and ${b.length}`;
  for (let i = 0; i < a.length; i++) {
    if (a[i] !== b[i]) {
      const hex = (v) => '0x' + v.toString(16).padStart(6, '0');
      return `pixel (${i % 256}, ${Math.floor(i / 256)}): page ${hex(a[i])}, recorder ${hex(b[i])}`;
    }
  }
  return null;
}

// A recorder PNG as 0x00RRGGBB words (through ImageMagick).
function pngWords(file) {
  const rgb = execFileSync('convert', [file, '-depth', '8', 'rgb:-'], { maxBuffer: 1 << 24 });
  const w = new Array(rgb.length / 3);
  for (let i = 0; i < w.length; i++) w[i] = (rgb[3 * i] << 16) | (rgb[3 * i + 1] << 8) | rgb[3 * i + 2];
  return w;
}

// The samples of a 16-bit PCM WAV file (its "data" chunk).
function wavSamples(file) {
  const b = require('fs').readFileSync(file);
  for (let at = 12; at + 8 <= b.length; at += 8 + b.readUInt32LE(at + 4) + (b.readUInt32LE(at + 4) & 1)) {
    if (b.toString('ascii', at, at + 4) === 'data') {
      const n = Math.min(b.readUInt32LE(at + 4), b.length - at - 8) >> 1;
      const s = new Int16Array(n);
      for (let i = 0; i < n; i++) s[i] = b.readInt16LE(at + 8 + 2 * i);
      return s;
    }
  }
  throw new Error(`${file}: no data chunk`);
}

async function newPage(browser, query) {
  const page = await browser.newPage({ viewport: { width: 600, height: 600 } });
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('response', (r) => { if (r.status() >= 400) errors.push(`${r.status()} ${r.url()}`); });
  await page.goto(url + query);
  return page;
}

async function showTest(browser) {
  const page = await newPage(browser, '');
  await page.evaluate(() => { window.krom.grab = { 0: null }; });
  check('the start prompt is shown before any gesture', await page.isVisible('#prompt'));
  check('nothing runs before the gesture', (await frames(page)) === 0);
  const loadStart = Date.now();
  await page.click('#prompt');

  const loaded = await waitFor(page, () => window.krom.grab[0] !== null, null, 20000);
  const loadMs = Date.now() - loadStart;
  const loading = loaded ? await page.evaluate(() => window.krom.grab[0]) : [];
  const blue = loading.filter((w) => w === 0x0080ff).length;
  check('the loading screen appears (mostly 0x0080ff)', loaded && blue > loading.length / 2,
    `${blue} of ${loading.length} pixels`);
  console.log(`  click to loading screen: ${loadMs} ms`);

  const intro = await waitFor(page, () => window.krom.module.kromFrames > 300, null, 30000);
  // The intro starts on a plain background: look for a change over a few seconds.
  const a = await canvasWords(page);
  let changed = false;
  for (let k = 0; k < 20 && !changed; k++) {
    await page.waitForTimeout(250);
    changed = firstDifference(a, await canvasWords(page)) !== null;
  }
  check('the intro plays: frames are presented and the canvas changes', intro && changed,
    `${await frames(page)} presents, ${intro ? 'canvas unchanged' : 'too few'}`);

  // Paced frames (the pacer's sleeps) a second: a figure, not judged (the fades between scenes
  // present without pacing, and a loaded machine runs late).
  const sleeps = () => page.evaluate(() => window.krom.module.kromSleeps || 0);
  const s0 = await sleeps();
  await page.waitForTimeout(2000);
  console.log(`  paced frames: ${((await sleeps()) - s0) / 2} a second`);

  const audio = await page.evaluate(() => ({ state: window.krom.context && window.krom.context.state,
                                             rate: window.krom.context && window.krom.context.sampleRate }));
  check('the AudioContext runs at 44100 Hz', audio.state === 'running' && audio.rate === 44100, JSON.stringify(audio));
  // The first pattern comes 160 frames into the intro; after it the analyser hears music.
  const heard = await waitFor(page, () => {
    const an = window.krom.analyser;
    const buf = new Float32Array(an.fftSize);
    an.getFloatTimeDomainData(buf);
    return buf.some((v) => Math.abs(v) > 0.001);
  }, null, 15000);
  check('the analyser hears music after the first pattern', heard);

  const stats = await page.evaluate(() => window.krom.audioStats || null);
  if (stats) {
    console.log(`  worklet so far: ${(stats.played / 44100).toFixed(2)} s played, ran dry ${stats.dry} times, ` +
                `started ${stats.starts} times, ${stats.dropped} blocks dropped`);
  }

  await page.keyboard.press('p');
  await page.waitForTimeout(300);
  const p0 = await frames(page);
  await page.waitForTimeout(700);
  const p1 = await frames(page);
  await page.keyboard.press('p');
  await page.waitForTimeout(500);
  const p2 = await frames(page);
  check('P pauses the show and P again resumes it', p1 === p0 && p2 > p1, `${p0}, ${p1}, ${p2}`);

  const work = (await page.evaluate(() => window.krom.module.kromWork || [])).sort((x, y) => x - y);
  if (work.length) {
    const at = (q) => work[Math.min(work.length - 1, Math.floor(q * work.length))];
    console.log(`  frame work over ${work.length} frames: median ${(at(0.5) / 1000).toFixed(3)} ms, ` +
                `p99 ${(at(0.99) / 1000).toFixed(3)} ms`);
  }

  const escAt = Date.now();
  await page.keyboard.press('Escape');
  const ended = await waitFor(page, () => !window.krom.running, null, 15000);
  console.log(`  ESC to the end of the show (its fade-out): ${Date.now() - escAt} ms`);
  check('ESC fades out and ends the show, and the prompt offers to start again',
    ended && (await page.isVisible('#prompt')) && (await page.textContent('#prompt')).includes('again'));
  await page.click('#prompt');
  const again = await waitFor(page, () => window.krom.running && window.krom.module.kromFrames > 50, null, 20000);
  check('a click starts the show again', again);
  await page.close();
}

// The pinned seed, stepped on demand: presents equal the recorder's for the same seed, without
// keys and with keys scripted at the same present indices (page key code, recorder name).
async function goldenRun(browser, dir, picks, keys, wav) {
  const page = await newPage(browser, `?seed=${seed}&step=manual`);
  await page.evaluate(([p, k, log]) => {
    window.krom.grab = {};
    for (const i of p) window.krom.grab[i] = null;
    window.krom.keyAt = k;
    if (log) window.krom.soundLog = [];
  }, [picks, keys, !!wav]);
  await page.click('#prompt');
  await waitFor(page, () => window.krom.module, null, 10000);
  // Paced frames enough for every present asked for and the recorder's six seconds of sound
  // (presents outnumber paced frames: the fades present without pacing).
  await page.evaluate(() => { window.krom.module.kromCredit = 1000; });
  const done = await waitFor(page, (p) => p.every((i) => window.krom.grab[i] !== null), picks, 60000);
  const label = Object.keys(keys).length ? ' with keys' : '';
  check(`the chosen presents${label} are grabbed`, done);
  const frames = {};
  for (const i of picks) {
    const got = await page.evaluate((k) => window.krom.grab[k], i);
    const file = path.join(dir, `frame-${String(i).padStart(6, '0')}.png`);
    let diff;
    try {
      frames[i] = pngWords(file);
      diff = got ? firstDifference(got, frames[i]) : 'not grabbed';
    } catch (e) {
      diff = `no recorder frame ${file}`;
    }
    check(`present ${i}${label} equals the recorder's for seed ${seed}`, diff === null, diff);
  }
  if (wav) {
    // Every block the page wrote so far, against the recorder's device stream for the same seed:
    // the common stretch must hold the intro's music (its first pattern starts 160 frames in).
    const got = await page.evaluate(() => {
      const out = [];
      for (const block of window.krom.soundLog) for (const v of block) out.push(v);
      return out;
    });
    let want = [];
    let diff = null;
    try { want = wavSamples(wav); } catch (e) { diff = String(e); }
    const n = Math.min(got.length, want.length);
    let heard = 0;
    for (let i = 0; i < n && diff === null; i++) {
      if (got[i] !== want[i]) diff = `sample ${i}: page ${got[i]}, recorder ${want[i]}`;
      if (want[i] !== 0) heard++;
    }
    if (diff === null && (n < 200000 || heard < 10000)) {
      diff = `only ${n} samples in common (page ${got.length}, recorder ${want.length}), ${heard} not silent`;
    }
    check(`the sound the page writes equals the recorder's for seed ${seed}`, diff === null, diff);
    if (diff === null) console.log(`  ${n} samples equal, ${heard} of them not silent`);
  }
  await page.close();
  return frames;
}

async function goldenTest(browser) {
  const plain = await goldenRun(browser, golden, [0, 1, 100, 255, 256, 300, 399, 550], {},
    path.join(golden, 'show.wav'));
  // M at 320 (the mirror shows once the intro's picture has grown, by 550), SPACE at 560 (the
  // intro ends and fades out, the next scene starts).
  const keyed = await goldenRun(browser, golden + '-keys', [550, 600, 699], { 320: 109, 560: 32 });
  check('M changes the picture (the keyed present 550 differs from the plain one)',
    keyed[550] && plain[550] && firstDifference(keyed[550], plain[550]) !== null);
}

// With the browser's usual rule (sound only after a gesture): keys that are no gesture (a
// modifier, Escape) leave the prompt alone, a typed key starts the show and its sound.
async function gestureTest() {
  const browser = await launchChromium('document-user-activation-required');
  try {
    const page = await newPage(browser, '');
    await page.keyboard.press('Shift');
    await page.keyboard.press('Escape');
    await page.waitForTimeout(300);
    check('Shift and Escape at the prompt do not start the show',
      (await page.isVisible('#prompt')) && !(await page.evaluate(() => window.krom.running)));
    await page.keyboard.press('a');
    const playing = await waitFor(page, () => window.krom.running && window.krom.module &&
                                              window.krom.module.kromFrames > 50 && window.krom.context &&
                                              window.krom.context.state === 'running', null, 20000);
    check('a typed key starts the show, and its sound runs', playing,
      JSON.stringify(await page.evaluate(() => ({ running: window.krom.running,
                                                  sound: window.krom.context && window.krom.context.state }))));
    await page.close();
  } finally {
    await browser.close();
  }
}

(async () => {
  try {
    await gestureTest();
  } catch (e) {
    check('the gesture test ran to its end', false, String(e));
  }
  const browser = await launchChromium();
  try {
    await showTest(browser);
    if (golden) await goldenTest(browser);
  } catch (e) {
    check('the test ran to its end', false, String(e));
  } finally {
    await browser.close();
  }
  check('no console errors', errors.length === 0, errors.slice(0, 3).join(' | '));
  const failed = results.filter((r) => !r.ok).length;
  console.log(`${results.length - failed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
})();
