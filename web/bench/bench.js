// Times the WebAssembly engine against OpenCV's WebAssembly build on the same
// gray bytes: the engine at Sigma 2, Steps 4, T1 2, T2 6; OpenCV GaussianBlur
// (sigma 2, kernel size from sigma as the native benchmark asks, 13 taps;
// replicated border) then Canny (L2, aperture 3, thresholds times 8, its
// Sobel being 8 times the engine's). Each timed call starts by copying the
// picture into the module's memory; the two alternate call by call, after
// untimed warm-up calls that let the browser finish compiling the hot code.
'use strict';

const kSettings = { t1: 2, t2: 6, sigma: 2, steps: 4 };
const kSobelScale = 8;

function engineRunner(engine, picture) {
  const count = picture.width * picture.height;
  const at = engine._malloc(count);
  if (!at) throw new Error('the engine has no memory for the picture');
  return {
    run() {
      engine.HEAPU8.set(picture.bytes, at);
      const status = engine._cannyDetect(at, picture.width, picture.height, kSettings.t1,
                                         kSettings.t2, kSettings.sigma, kSettings.steps);
      if (status !== 0) throw new Error(`the engine failed with status ${status}`);
    },
    edgeCount() {
      let n = 0;
      for (const v of engine.HEAPU8.subarray(at, at + count)) n += v !== 0;
      return n;
    },
    free() { engine._free(at); },
  };
}

function openCvRunner(cv, picture) {
  const input = new cv.Mat(picture.height, picture.width, cv.CV_8UC1);
  const smoothed = new cv.Mat(), edges = new cv.Mat();
  const size = new cv.Size(0, 0);
  return {
    run() {
      input.data.set(picture.bytes);
      cv.GaussianBlur(input, smoothed, size, kSettings.sigma, kSettings.sigma, cv.BORDER_REPLICATE);
      cv.Canny(smoothed, edges, kSettings.t1 * kSobelScale, kSettings.t2 * kSobelScale, 3, true);
    },
    edgeCount() { return cv.countNonZero(edges); },
    free() { input.delete(); smoothed.delete(); edges.delete(); },
  };
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};

// pictures: [{ name, width, height, bytes }]; returns one row per picture.
function runBench(engine, cv, pictures, { rounds = 15, largeRounds = 5 } = {}) {
  const rows = [];
  for (const picture of pictures) {
    const pixels = picture.width * picture.height;
    const runners = { engine: engineRunner(engine, picture), opencv: openCvRunner(cv, picture) };
    const times = { engine: [], opencv: [] };
    // Enough calls for the hot functions to reach the optimising compiler.
    const warmUp = pixels > 4e6 ? 2 : 30;
    for (let i = 0; i < warmUp; ++i) for (const r of Object.values(runners)) r.run();
    const count = pixels > 4e6 ? largeRounds : rounds;
    for (let round = 0; round < count; ++round) {
      // Alternating, each side first in every other round.
      const order = round % 2 ? ['opencv', 'engine'] : ['engine', 'opencv'];
      for (const side of order) {
        const started = performance.now();
        runners[side].run();
        times[side].push(performance.now() - started);
      }
    }
    const row = { picture: picture.name, size: `${picture.width}x${picture.height}`, rounds: count };
    for (const side of ['engine', 'opencv']) {
      row[side] = median(times[side]);
      row[`${side}Fastest`] = Math.min(...times[side]);
      row[`${side}Edges`] = runners[side].edgeCount();
      runners[side].free();
    }
    row.ratio = row.opencv / row.engine;
    rows.push(row);
  }
  return rows;
}

if (typeof module !== 'undefined') module.exports = { runBench };
