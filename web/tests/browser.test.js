// The page in headless Chromium, served as any static server would: every
// sample tab's Apply and a dropped picture at full size give the canny tool's
// edge map, byte for byte, by the very command the page shows, and Save
// writes it; the keyboard moves a slider as on the desktop; files opened that
// are no picture show the error.
// Usage: CHROMIUM=/usr/bin/chromium node browser.test.js SITE_DIR CANNY SCREENSHOT_DIR
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { PNG } = require('pngjs');
const puppeteer = require('puppeteer-core');

const [siteDir, canny, shots] = process.argv.slice(2).map((a) => path.resolve(a));
const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png' };

function serve() {
  const server = http.createServer((request, response) => {
    const file = path.join(siteDir, path.normalize(decodeURIComponent(request.url.split('?')[0])));
    const name = file.endsWith(path.sep) ? path.join(file, 'index.html') : file;
    fs.readFile(name, (error, data) => {
      if (error) return response.writeHead(404).end();
      response.writeHead(200, { 'Content-Type': types[path.extname(name)] ?? 'application/octet-stream' })
        .end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The edge map on the page's canvas, one byte a pixel.
async function shownMap(page) {
  const base64 = await page.$eval('#view', (canvas) => {
    const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    let text = '';
    for (let i = 0; i < data.length; i += 4) text += String.fromCharCode(data[i]);
    return btoa(text);
  });
  return Buffer.from(base64, 'base64');
}

// The tool's map by the command the page shows, run by the shell where the
// picture is, read back from the PNG it writes.
function toolMap(command, folder, output) {
  execFileSync('sh', ['-c', `canny() { "$CANNY_TOOL" "$@"; }; ${command}`],
    { cwd: folder, env: { ...process.env, CANNY_TOOL: canny } });
  const png = PNG.sync.read(fs.readFileSync(path.join(folder, output)));
  fs.rmSync(path.join(folder, output));
  return Buffer.from(png.data.filter((_, i) => i % 4 === 0));
}

async function applyAndCompare(page, folder, output, what) {
  await page.click('#apply');
  await page.waitForSelector('#stage:not([aria-busy]) ~ #command-line:not([hidden])');
  const command = await page.$eval('#command', (c) => c.textContent);
  assert.ok((await shownMap(page)).equals(toolMap(command, folder, output)),
    `${what}: the page's edge map differs from \`${command}\``);
  return command;
}

async function selectTab(page, title) {
  const tab = (await page.$$('[role="tab"]')).at(
    (await page.$$eval('[role="tab"]', (all) => all.map((t) => t.textContent))).indexOf(title));
  await tab.click();
}

async function main() {
  const server = await serve();
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM,
    args: ['--no-sandbox', '--headless=new'],
  });
  // The pictures where the commands run and write their maps.
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'canny-web-'));
  for (const name of fs.readdirSync(siteDir).filter((n) => n.endsWith('Pic.png')))
    fs.copyFileSync(path.join(siteDir, name), path.join(scratch, name));
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 900, height: 900 });
    const problems = [];
    page.on('pageerror', (error) => problems.push(error.message));
    await page.goto(`http://127.0.0.1:${server.address().port}/`);

    const titles = await page.$$eval('[role="tab"]', (all) => all.map((t) => t.textContent));
    assert.deepEqual(titles, ['First', 'Second', 'Third', 'Fourth', 'Fifth']);
    for (const title of titles.slice(0, 4)) {
      await selectTab(page, title);
      await page.waitForSelector('#apply:not([disabled])');
      const picture = await page.$eval('#view', (v) => v.getAttribute('aria-label'));
      const command = await applyAndCompare(page, scratch, picture.replace('.png', '-edges.png'), title);
      console.log(`${title}: ${command}`);
      if (title === 'First') {
        assert.match(command, /^canny --t1 0\.6 --t2 0\.8 --sigma 0 --steps 4 firstPic\.png /);
        await page.screenshot({ path: path.join(shots, 'first-edges.png') });
        // Save writes the map shown as an 8-bit gray PNG.
        const downloads = fs.mkdtempSync(path.join(scratch, 'downloads-'));
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
        await page.click('#save');
        const saved = path.join(downloads, 'firstPic-edges.png');
        for (let waited = 0; !fs.existsSync(saved) && waited < 100; ++waited)
          await new Promise((resolve) => setTimeout(resolve, 100));
        const png = PNG.sync.read(fs.readFileSync(saved), { skipRescale: true });
        assert.equal(png.colorType, 0);
        assert.ok(Buffer.from(png.data.filter((_, i) => i % 4 === 0)).equals(await shownMap(page)));
      }
    }

    // Keys move a hundredth of the range and the readout shows the value in full.
    await selectTab(page, 'Second');
    await page.focus('#t1');
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('PageUp');
    assert.equal(await page.$eval('#t1-value', (o) => o.textContent), '3.10');
    await page.focus('#steps');
    await page.keyboard.press('ArrowLeft');
    assert.equal(await page.$eval('#steps-value', (o) => o.textContent), '3');
    assert.match(await applyAndCompare(page, scratch, 'secondPic-edges.png', 'Second, moved'), /--t1 3\.1 .*--steps 3 /);

    // Live: a slider move alone brings the map of the new value.
    await selectTab(page, 'Third');
    await page.click('#live');
    await page.waitForSelector('#stage:not([aria-busy]) ~ #command-line:not([hidden])');
    await page.focus('#t2');
    await page.keyboard.press('ArrowRight');
    await page.waitForSelector('#stage:not([aria-busy]) ~ #command-line:not([hidden])');
    const live = await page.$eval('#command', (c) => c.textContent);
    assert.match(live, /--t2 6\.1 /);
    assert.ok((await shownMap(page)).equals(toolMap(live, scratch, 'thirdPic-edges.png')), live);
    await page.click('#live');

    // A picture dropped on the camera tab is worked on at full size, at that tab's values.
    await selectTab(page, 'Fifth');
    const wide = path.join(scratch, 'wide picture.png');
    fs.copyFileSync(path.join(scratch, 'thirdPic.png'), wide);
    const box = await (await page.$('#stage')).boundingBox();
    const middle = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    const drag = { items: [], files: [wide], dragOperationsMask: 1 };
    await page.mouse.dragEnter(middle, drag);
    await page.mouse.dragOver(middle, drag);
    await page.mouse.drop(middle, drag);
    await page.waitForFunction(() => !document.querySelector('#apply').disabled);
    assert.equal(await page.$eval('#status', (s) => s.textContent), '600 × 400 pixels');
    assert.match(await applyAndCompare(page, scratch, 'wide picture-edges.png', 'opened picture'),
      /--t1 2 --t2 6 --sigma 2 --steps 4 'wide picture\.png' /);

    // Files that are no picture: the error, and the edge map stays.
    for (const [name, bytes, why] of [
      ['notes.png', 'not a picture', 'not a picture in a format this program reads'],
      ['cut.png', fs.readFileSync(wide).subarray(0, 300), 'the data is truncated'],
      ['broken.png', Buffer.concat([fs.readFileSync(wide).subarray(0, 300), Buffer.alloc(300),
        fs.readFileSync(wide).subarray(-12)]), 'the data is damaged'],
      ['empty.jpg', '', 'empty file'],
    ]) {
      fs.writeFileSync(path.join(scratch, name), bytes);
      await (await page.$('#open')).uploadFile(path.join(scratch, name));
      await page.waitForFunction((text) => document.querySelector('#error').textContent === text, {
        timeout: 10000 }, `${name} cannot be opened: ${why}`);
    }
    assert.equal(await page.$eval('#view', (v) => v.getAttribute('aria-label')),
      'Edge map of wide picture.png');
    await page.screenshot({ path: path.join(shots, 'error.png') });
    assert.deepEqual(problems, []);
    console.log('the page agrees with the tool; screenshots in', shots);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
}

fs.mkdirSync(shots, { recursive: true });
main().catch((error) => {
  console.error(error.message ?? error);
  process.exit(1);
});
