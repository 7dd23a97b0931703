// The benchmark's rows as a Markdown table, headed by where they were measured:
// medians, and the fastest call of each side, which a busy machine slows least.
'use strict';

const ms = (v) => v.toFixed(v < 10 ? 2 : 1);
function table(where, rows) {
  console.log(`\n${where}\n`);
  console.log('| picture | size | engine ms | OpenCV.js ms | OpenCV.js / engine | engine MP/s | ' +
              'fastest: engine, OpenCV.js | rounds |');
  console.log('|---|---|---:|---:|---:|---:|---:|---:|');
  for (const r of rows) {
    const [w, h] = r.size.split('x').map(Number);
    console.log(`| ${r.picture} | ${r.size} | ${ms(r.engine)} | ${ms(r.opencv)} | ${r.ratio.toFixed(2)} | ` +
                `${(w * h / 1e3 / r.engine).toFixed(0)} | ${ms(r.engineFastest)}, ${ms(r.opencvFastest)} | ` +
                `${r.rounds} |`);
  }
}

module.exports = { table };
