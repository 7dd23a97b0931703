// The WebAssembly engine against OpenCV.js under Node, on the native
// benchmark's pictures; prints a Markdown table.
// Usage: node run.js SITE_DIR BENCH_PICTURES_DIR [SIZE...]   (NODE_PATH holding
// @techstark/opencv-js)
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { readPgm, resizeBilinear } = require('./pictures.js');
const { runBench } = require('./bench.js');
const { table } = require('./table.js');

const [siteDir, picturesDir, ...sizeArgs] = process.argv.slice(2).map((a, i) => (i < 2 ? path.resolve(a) : a));
const sizes = sizeArgs.length ? sizeArgs : ['640x480', '4000x3000'];
const openCvFile = require.resolve('@techstark/opencv-js');

// OpenCV.js ready, in a one-element array: its module object may be a thenable,
// which `await` would otherwise unwrap without end.
async function openCvModule(module) {
  if (module instanceof Promise) return [await module];
  if (!module.Mat) await new Promise((done) => { module.onRuntimeInitialized = done; });
  return [module];
}

async function inNode() {
  const engine = await require(path.join(siteDir, 'canny-engine.js'))(
    { wasmBinary: fs.readFileSync(path.join(siteDir, 'canny-engine.wasm')) });
  const [cv] = await openCvModule(require(openCvFile));
  const pictures = [];
  for (const name of ['rocket', 'coins']) {
    const source = readPgm(fs.readFileSync(path.join(picturesDir, `${name}.pgm`)));
    for (const size of sizes) {
      const [width, height] = size.split('x').map(Number);
      pictures.push({ name, ...resizeBilinear(source, width, height) });
    }
  }
  return runBench(engine, cv, pictures);
}

(async () => {
  const [cv] = await openCvModule(require(openCvFile));
  const build = cv.getBuildInformation();
  const baseline = build.match(/Baseline:[ \t]*(\S.*)?$/m)?.[1]?.trim() || 'none (no SIMD)';
  const version = build.match(/General configuration for OpenCV (\S+)/)?.[1] ?? '?';
  console.log(`OpenCV.js ${version} (@techstark/opencv-js), CPU baseline: ${baseline}, ` +
              `threads: ${/USE_PTHREADS=1/.test(build) ? 'yes' : 'no'}`);
  table(`Node ${process.version}`, await inNode());
})().catch((error) => {
  console.error(error.stack ?? error);
  process.exit(1);
});
