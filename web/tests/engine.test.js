// The WebAssembly engine under Node: its edge maps equal the reference
// detector's on the engine tests' agreement families, and, through the page's
// own colour-to-gray conversion, the native canny tool's on the sample pictures.
// Usage: node engine.test.js SITE_DIR CASES_DIR CANNY PICTURES_DIR
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { PNG } = require('pngjs');

const [siteDir, casesDir, canny, picturesDir] = process.argv.slice(2).map((a) => path.resolve(a));
const settings = require(path.join(siteDir, 'settings.js'));
const createCannyEngine = require(path.join(siteDir, 'canny-engine.js'));

// Runs the engine over `gray` (width x height bytes) in place; returns its status.
function detect(engine, gray, width, height, s) {
  const at = engine._malloc(Math.max(gray.length, 1));
  engine.HEAPU8.set(gray, at);
  const status = engine._cannyDetect(at, width, height, s.t1, s.t2, s.sigma, s.steps);
  gray.set(engine.HEAPU8.subarray(at, at + gray.length));
  engine._free(at);
  return status;
}

function checkFamily(engine, file) {
  const data = fs.readFileSync(file);
  let cases = 0;
  for (let at = 0; at < data.length; ++cases) {
    const [width, height] = [data.readInt32LE(at), data.readInt32LE(at + 4)];
    const s = { t1: data.readFloatLE(at + 8), t2: data.readFloatLE(at + 12),
      sigma: data.readFloatLE(at + 16), steps: data.readInt32LE(at + 20) };
    const length = data.readUInt32LE(at + 24);
    const picture = new Uint8Array(data.subarray(at + 28, at + 28 + length));
    const expected = data.subarray(at + 28 + length, at + 28 + 2 * length);
    at += 28 + 2 * length;
    detect(engine, picture, width, height, s);
    assert.ok(Buffer.from(picture).equals(expected),
      `${path.basename(file)}: ${width}x${height} ${JSON.stringify(s)} differs from the reference`);
  }
  assert.ok(cases > 0, `${file} holds no case`);
  return cases;
}

function readPgm(bytes) {
  const header = bytes.toString('latin1', 0, 64).match(/^P5\s+(\d+)\s+(\d+)\s+255\s/);
  assert.ok(header, 'the tool did not write an 8-bit PGM');
  return { width: +header[1], height: +header[2], bytes: bytes.subarray(header[0].length) };
}

// The page's way: decoded RGBA, gray by the engine's conversion, the tab's settings.
function pageMap(engine, png, s) {
  const count = png.width * png.height;
  const rgba = engine._malloc(count * 4), gray = engine._malloc(count);
  engine.HEAPU8.set(png.data, rgba);
  engine._cannyGrayFromRgba(rgba, count, gray);
  const bytes = engine.HEAPU8.slice(gray, gray + count);
  engine._free(rgba);
  engine._free(gray);
  assert.equal(detect(engine, bytes, png.width, png.height, s), 0);
  return bytes;
}

function checkSample(engine, tab) {
  const file = path.join(picturesDir, tab.picture);
  const png = PNG.sync.read(fs.readFileSync(file));
  const start = { t1: tab.t1.start, t2: tab.t2.start, sigma: tab.sigma.start,
    steps: Math.trunc(tab.steps.start) };
  // The start values, and smoothing with thresholds between the slider positions.
  for (const s of [start, { t1: Math.fround(1.37), t2: Math.fround(4.5), sigma: 1.5, steps: 3 }]) {
    // The command the page shows, run in the pictures' folder.
    const args = settings.cannyCommand(s, tab.picture).split(' ').slice(1, -1);
    const tool = readPgm(execFileSync(canny, [...args, '-'], { cwd: picturesDir }));
    assert.deepEqual([tool.width, tool.height], [png.width, png.height]);
    assert.ok(Buffer.from(pageMap(engine, png, s)).equals(tool.bytes),
      `${tab.picture} at ${JSON.stringify(s)}: the page's map differs from the tool's`);
  }
}

// A camera frame's eighth: the application's rounding, and each pixel the
// average of the area it covers, pixels cut by its edges weighted by the part.
function checkShrinking(engine) {
  assert.deepEqual([7, 8, 15, 1366, 0, -8].map((n) => engine._cannyEighthOf(n)), [0, 1, 1, 170, 0, 0]);
  const shrink = (pixels, width, height, toWidth, toHeight) => {
    const from = engine._malloc(pixels.length), to = engine._malloc(toWidth * toHeight * 4);
    engine.HEAPU8.set(pixels, from);
    const done = engine._cannyShrinkRgba(from, width, height, to, toWidth, toHeight);
    const out = Array.from(engine.HEAPU8.subarray(to, to + toWidth * toHeight * 4));
    engine._free(from);
    engine._free(to);
    return done ? out : null;
  };
  const gray = (...values) => values.flatMap((v) => [v, v, v, 255]);
  // 0, 90, 180 into two: (0 + 90 / 2) / 1.5 and (90 / 2 + 180) / 1.5.
  assert.deepEqual(shrink(gray(0, 90, 180), 3, 1, 2, 1), gray(30, 150));
  // Two rows of 8 into one pixel: the mean, rounded to nearest.
  assert.deepEqual(shrink(gray(...Array(15).fill(0), 9), 8, 2, 1, 1), gray(1));
  assert.deepEqual(shrink(gray(...Array(15).fill(0), 8), 8, 2, 1, 1), gray(1));
  assert.deepEqual(shrink(gray(...Array(15).fill(0), 7), 8, 2, 1, 1), gray(0));
  for (const [toWidth, toHeight] of [[3, 1], [0, 1], [1, 0]])
    assert.equal(shrink(gray(1, 2), 2, 1, toWidth, toHeight), null, `${toWidth} x ${toHeight} is refused`);
}

// A flat picture, unsmoothed, has no magnitude at all: white is 0 and 0 / 0 is drawn black.
function checkFlatStage(engine) {
  const at = engine._malloc(6 * 3 + 4);
  engine.HEAPU8.fill(7, at, at + 6);
  engine.HEAPU8.fill(99, at + 6, at + 12);
  assert.equal(engine._cannyStage(at, 3, 2, 2, 6, 0, 4, 1, at + 6, at + 12), 0);  // Sigma 0
  const white = new Float32Array(engine.HEAPU8.slice(at + 12, at + 16).buffer)[0];
  assert.deepEqual([white, ...engine.HEAPU8.subarray(at + 6, at + 12)], [0, 0, 0, 0, 0, 0, 0]);
  engine._free(at);
}

createCannyEngine({ wasmBinary: fs.readFileSync(path.join(siteDir, 'canny-engine.wasm')) })
  .then((engine) => {
    checkShrinking(engine);
    checkFlatStage(engine);
    const families = fs.readdirSync(casesDir).filter((n) => n.endsWith('.cases')).sort();
    assert.ok(families.length > 0, `the engine's tests wrote no agreement case into ${casesDir}`);
    for (const name of families)
      console.log(`${name}: ${checkFamily(engine, path.join(casesDir, name))} cases agree`);
    for (const tab of settings.tabs.filter((t) => t.picture)) {
      checkSample(engine, tab);
      console.log(`${tab.picture}: the tool's maps`);
    }
  })
  .catch((error) => {
    console.error(error.message ?? error);
    process.exit(1);
  });
