// The WebAssembly engine against OpenCV.js in headless Chromium (the system's,
// through puppeteer-core), on the native benchmark's pictures, in one page
// served as a static site would serve it; prints a Markdown table.
// Usage: CHROMIUM=/usr/bin/chromium node chromium.js SITE_DIR BENCH_PICTURES_DIR [SIZE...]
// (NODE_PATH holding @techstark/opencv-js and puppeteer-core)
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const { table } = require('./table.js');

const [siteDir, picturesDir, ...sizeArgs] = process.argv.slice(2).map((a, i) => (i < 2 ? path.resolve(a) : a));
const sizes = sizeArgs.length ? sizeArgs : ['640x480', '4000x3000'];
const roots = { site: siteDir, bench: __dirname, pictures: picturesDir };
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

function fileFor(url) {
  if (url === '/opencv.js') return require.resolve('@techstark/opencv-js');
  const [, root, rest] = url.match(/^\/([a-z]+)\/([^?]*)/) ?? [];
  if (!roots[root] || rest.includes('..')) return null;
  return path.join(roots[root], decodeURIComponent(rest));
}

function serve() {
  const server = http.createServer((request, response) => {
    const file = fileFor(request.url);
    if (!file) return response.writeHead(404).end();
    fs.readFile(file, (error, data) => {
      if (error) return response.writeHead(404).end();
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream' })
        .end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The CPU time of the page's thread per call, each side alone after its
// warm-up: on a busy machine wall times count the waits for a core, this not.
async function cpuTimes(page, sizes) {
  const cdp = await page.createCDPSession();
  await cdp.send('Performance.enable', { timeDomain: 'threadTicks' });
  const threadTime = async () =>
    (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'ThreadTime').value;
  console.log('\nCPU time of the page\'s thread per call, ms\n');
  console.log('| picture | size | engine | OpenCV.js | OpenCV.js / engine | calls |');
  console.log('|---|---|---:|---:|---:|---:|');
  for (const name of ['rocket', 'coins']) {
    for (const size of sizes) {
      const large = size.split('x').reduce((a, b) => a * b) > 4e6;
      const [warmUp, calls] = large ? [2, 3] : [30, 40];
      const cpu = {};
      for (const side of ['engine', 'opencv']) {
        await page.evaluate((...a) => prepareCalls(...a), name, size, side, warmUp);
        const before = await threadTime();
        await page.evaluate((n) => runCalls(n), calls);
        cpu[side] = ((await threadTime()) - before) * 1000 / calls;
      }
      const ms = (v) => v.toFixed(v < 10 ? 2 : 1);
      console.log(`| ${name} | ${size} | ${ms(cpu.engine)} | ${ms(cpu.opencv)} | ` +
                  `${(cpu.opencv / cpu.engine).toFixed(2)} | ${calls} |`);
    }
  }
}

(async () => {
  const server = await serve();
  const browser = await puppeteer.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--headless=new'], protocolTimeout: 600000 });
  try {
    const page = await browser.newPage();
    page.on('pageerror', (error) => console.error(error.message));
    await page.goto(`http://127.0.0.1:${server.address().port}/bench/page.html`);
    const rows = await page.evaluate((s) => runInPage(s), sizes);
    table(`Chromium ${await browser.version()}, headless, in the page's thread`, rows);
    await cpuTimes(page, sizes);
  } finally {
    await browser.close();
    server.close();
  }
})().catch((error) => {
  console.error(error.stack ?? error);
  process.exit(1);
});
