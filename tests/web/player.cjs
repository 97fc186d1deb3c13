// The page's sound player on its own, under node: the player's code is taken from the page as
// it ships and fed blocks by hand. Silence until enough has come, a smoothstep ramp in, the fade
// out when the blocks stop or the queue overflows (never a step steeper than the ramp's), the
// restart from the newest samples, and the speed corrected only while playing.
// Usage: node player.cjs INDEX_HTML
'use strict';
const fs = require('fs');

const html = fs.readFileSync(process.argv[2], 'utf8');
const source = html.match(/const playerCore = `([\s\S]*?)`;/);
if (!source) {
  console.log('FAIL the page holds no player');
  process.exit(1);
}
const Player = new Function(source[1] + '; return KromPlayerCore;')();
const RAMP = 256, RESTART = 3528, CAPACITY = 8192, BLOCK = 882;

const results = [];
function check(name, failure) {
  results.push(!failure);
  console.log(`${failure ? 'FAIL' : 'ok  '} ${name}${failure ? ': ' + failure : ''}`);
}

const smooth = (k) => { const t = Math.min(k, RAMP) / RAMP; return t * t * (3 - 2 * t); };
const block = (value, length = BLOCK) => new Float32Array(length).fill(value);

// Renders `count` samples in render quanta of 128.
function play(player, count) {
  const out = [];
  for (let done = 0; done < count; done += 128) {
    const q = new Float32Array(128);
    player.render(q);
    out.push(...q);
  }
  return out;
}

// The first place where `got` differs from `want(i)` by more than a rounding, or null.
function firstDifference(got, want, from = 0, to = got.length) {
  for (let i = from; i < to; i++) {
    const w = Math.fround(want(i));
    if (Math.abs(got[i] - w) > 1e-7) return `sample ${i}: ${got[i]}, want ${w}`;
  }
  return null;
}

// The steepest step between neighbouring samples, against the ramp's own steepest for `level`.
function steepStep(samples, level) {
  const limit = level * 1.5 / RAMP + 1e-6;
  for (let i = 1; i < samples.length; i++) {
    if (Math.abs(samples[i] - samples[i - 1]) > limit) {
      return `samples ${i - 1} and ${i}: ${samples[i - 1]} then ${samples[i]} (steepest ramp step ${limit})`;
    }
  }
  return null;
}

{
  const p = new Player();
  for (let k = 0; k < 3; k++) p.push(block(0.5));
  const before = play(p, 256);
  check('silence while less than the restart level has come',
    firstDifference(before, () => 0));
  p.push(block(0.5));
  const ramp = play(p, 512);
  check('then a smoothstep ramp in to the signal, which it then plays unchanged',
    firstDifference(ramp, (i) => 0.5 * smooth(i + 1)));
  const dry = play(p, 4096);
  const zero = dry.findIndex((v) => v === 0);
  check('when the blocks stop it fades out to exactly 0 while samples are left, without a step',
    zero < 0 ? 'never silent' : steepStep(dry, 0.5) || firstDifference(dry, () => 0, zero));
  check('and counts the time it ran dry', p.stats.dry === 1 ? null : `${p.stats.dry} times`);
}

{
  const p = new Player();
  for (let k = 1; k <= 6; k++) p.push(block(k / 10));
  const out = play(p, 512);
  // 6 blocks of 882 = 5292 samples; the newest 3528 begin 1764 samples in, in the third block.
  check('it starts from the newest samples, not from what piled up',
    firstDifference(out, (i) => 0.3 * smooth(i + 1), 0, 256));
}

{
  const p = new Player();
  for (let k = 0; k < 5; k++) p.push(block(0.25));
  check('blocks that come while it is stopped leave the speed alone',
    p.step === 1 && p.integral === 0 ? null : `step ${p.step}, integral ${p.integral}`);
  play(p, 128);
  p.push(block(0.25));
  p.push(block(0.25));
  play(p, 128);
  check('playing with more than the target queued, it plays faster',
    p.step > 1 && p.step <= 1.0051 ? null : `step ${p.step}`);
  play(p, 8192);   // runs dry and stops
  const integral = p.integral;
  for (let k = 0; k < 3; k++) p.push(block(0.25));
  play(p, 256);
  check('and while stopped again it keeps what it learnt',
    p.integral === integral && !p.playing ? null : `integral ${p.integral} (was ${integral}), playing ${p.playing}`);
}

{
  const p = new Player();
  for (let k = 0; k < 4; k++) p.push(block(0.5));
  play(p, 1024);
  for (let k = 0; k < 12; k++) p.push(block(0.5));   // far more than the queue holds
  const out = play(p, 1024);
  const zero = out.findIndex((v) => v === 0);
  check('an overflowing queue fades out without a step, then stays silent',
    zero < 0 ? 'never silent' : steepStep(out, 0.5) || firstDifference(out, () => 0, zero));
  check('and counts the overflow', p.stats.dropped === 1 ? null : `${p.stats.dropped} times`);
  for (let k = 1; k <= 4; k++) p.push(block(k / 8));
  const again = play(p, 512);
  check('it starts afresh from the blocks that come after',
    firstDifference(again, (i) => 0.125 * smooth(i + 1), 0, 256));
  check('the queue stays bounded while nothing plays',
    (() => { const q = new Player(); for (let k = 0; k < 1000; k++) q.push(block(0.1)); return q.have() <= CAPACITY; })()
      ? null : 'it grew past its capacity');
}

const failed = results.filter((ok) => !ok).length;
console.log(`${results.length - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
