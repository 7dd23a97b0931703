// The page in headless Chromium, served as any static server would: every
// sample tab's Apply, a picture taken with Chromium's fake camera and a
// dropped picture at full size give the canny tool's edge map, byte for byte,
// by the very command the page shows, and Save writes it; the stages, compare
// and zoom show what they name; the keyboard moves a slider as on the
// desktop; the viewfinder shows live edges; a refused camera and files opened
// that are no picture show the error.
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

// Clicks `button` and waits for the file it downloads into `folder`.
async function download(page, button, folder, name) {
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  await page.click(button);
  const saved = path.join(folder, name);
  for (let waited = 0; !fs.existsSync(saved) && waited < 600; ++waited)
    await new Promise((resolve) => setTimeout(resolve, 100));
  return saved;
}

const redOf = (png) => Buffer.from(png.data.filter((_, i) => i % 4 === 0));

const labelIs = (page, text) => page.waitForFunction(
  (t) => document.querySelector('#view').getAttribute('aria-label') === t, { timeout: 60000 }, text);

// On the first tab at Sigma 0, its edge map shown: Compare shows the gray
// picture in its place; zoom enlarges it in crisp pixels; the stages show
// the picture unsmoothed, magnitudes, and thinned ones under every edge.
async function checkViews(page, gray, edges) {
  await page.click('#compare');
  await labelIs(page, 'firstPic.png, shown to compare');
  assert.ok((await shownMap(page)).equals(gray), 'Compare does not show the picture');
  await page.click('#compare');
  assert.ok((await shownMap(page)).equals(edges));

  await page.focus('#stage');
  for (const key of ['1', '+']) await page.keyboard.press(key);
  const zoomed = await page.$eval('#view', (v) =>
    [document.querySelector('#zoom-level').textContent, v.className, v.style.width, devicePixelRatio]);
  assert.deepEqual(zoomed, ['200 %', 'crisp', `${1024 / zoomed[3]}px`, zoomed[3]]);
  await page.screenshot({ path: path.join(shots, 'zoomed.png') });
  await page.keyboard.press('0');

  const stages = {};
  for (const [stage, label] of [['smoothed', 'Smoothed picture'], ['magnitude', 'Gradient magnitude'],
    ['thinned', 'Thinned magnitude'], ['edges', 'Edge map']]) {
    await page.select('#stage-choice', stage);
    await labelIs(page, `${label} of firstPic.png`);
    stages[stage] = await shownMap(page);
    if (stage === 'magnitude') {
      assert.match(await page.$eval('#status', (s) => s.textContent), /white = magnitude \d/);
      await page.screenshot({ path: path.join(shots, 'magnitude.png') });
    }
  }
  assert.ok(stages.smoothed.equals(gray), 'Sigma 0 smooths the picture');
  assert.ok(stages.edges.equals(edges));
  assert.ok(stages.magnitude.includes(255), "magnitudes drawn up to white");
  const thinnedUnderEdges = edges.every((e, i) => !e || stages.thinned[i]);
  const count = (bytes) => bytes.filter((b) => b).length;
  assert.ok(thinnedUnderEdges && count(stages.thinned) < count(stages.magnitude), 'thinned magnitude');
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
    args: ['--no-sandbox', '--headless=new', '--use-fake-device-for-media-stream',
      '--use-fake-ui-for-media-stream'],
  });
  // The pictures where the commands run and write their maps.
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'canny-web-'));
  for (const name of fs.readdirSync(siteDir).filter((n) => n.endsWith('Pic.png')))
    fs.copyFileSync(path.join(siteDir, name), path.join(scratch, name));
  try {
    const page = await browser.newPage();
    // Generous waits: on a loaded two-CPU machine (other tests running beside
    // this one) an answer may wait long for a processor; a hang still fails.
    page.setDefaultTimeout(120000);
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
        const saved = await download(page, '#save', downloads, 'firstPic-edges.png');
        const png = PNG.sync.read(fs.readFileSync(saved), { skipRescale: true });
        assert.equal(png.colorType, 0);
        const edges = await shownMap(page);
        assert.ok(redOf(png).equals(edges));
        await checkViews(page, redOf(PNG.sync.read(fs.readFileSync(path.join(scratch, 'firstPic.png')))),
          edges);
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

    // The camera tab: live edges in the viewfinder at the frame's size, then a
    // taken picture, an eighth of the frame, whose Apply is the tool's map of
    // the picture as the page saves it; the camera stops when the tab is left.
    await selectTab(page, 'Fifth');
    await page.waitForFunction(() => document.querySelector('#finder-edges').dataset.frames >= 3,
      { timeout: 60000 });
    const finder = await page.$eval('#finder-edges', (canvas) => {
      const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
      let white = 0, gray = 0;
      for (let i = 0; i < data.length; i += 4) data[i] === 255 ? ++white : (gray += data[i] !== 0);
      const video = document.querySelector('#viewfinder');
      return { size: [canvas.width, canvas.height], frame: [video.videoWidth, video.videoHeight], white, gray };
    });
    assert.deepEqual(finder.size, finder.frame);
    assert.ok(finder.white > 0 && finder.gray === 0, `viewfinder edges ${JSON.stringify(finder)}`);
    await page.screenshot({ path: path.join(shots, 'viewfinder.png') });
    await page.click('#take');
    await page.waitForSelector('#apply:not([disabled])');
    const [w, h] = finder.frame, eighth = [Math.floor(w / 8), Math.floor(h / 8)];
    assert.equal(await page.$eval('#status', (s) => s.textContent),
      `${eighth[0]} × ${eighth[1]} pixels · an eighth of ${w} × ${h}`);
    await page.click('#apply');
    await page.waitForSelector('#stage:not([aria-busy]) ~ #command-line:not([hidden])');
    const shot = await page.$eval('#command', (c) => c.textContent);
    const shotName = shot.split(' ').at(-2);
    assert.match(shot, /^canny --t1 2 --t2 6 --sigma 2 --steps 4 camera-\d{8}-\d{6}\.png /);
    const taken = await download(page, '#save-picture', scratch, shotName);
    const takenPng = PNG.sync.read(fs.readFileSync(taken));
    assert.deepEqual([takenPng.width, takenPng.height], eighth);
    assert.ok((await shownMap(page)).equals(toolMap(shot, scratch, shotName.replace('.png', '-edges.png'))),
      `the taken picture's edge map differs from \`${shot}\``);
    await page.screenshot({ path: path.join(shots, 'taken-edges.png') });
    await page.click('#camera-on');
    await page.waitForFunction(() => document.querySelector('#viewfinder').srcObject?.active);
    const track = await page.evaluateHandle(() => document.querySelector('#viewfinder').srcObject.getTracks()[0]);
    await selectTab(page, 'Fourth');
    assert.equal(await track.evaluate((t) => t.readyState), 'ended');

    // Where the camera is refused the tab says so and still opens pictures:
    // one dropped is worked on at full size, at that tab's values.
    const refused = await browser.newPage();
    refused.setDefaultTimeout(120000);
    await refused.setViewport({ width: 390, height: 844 });  // a phone's
    refused.on('pageerror', (error) => problems.push(error.message));
    await refused.evaluateOnNewDocument(() => {
      navigator.mediaDevices.getUserMedia = () =>
        Promise.reject(new DOMException('Permission denied', 'NotAllowedError'));
    });
    await refused.goto(page.url());
    await selectTab(refused, 'Fifth');
    await refused.waitForFunction(() => document.querySelector('#camera-note').textContent ===
      'Camera error: the use of the camera was refused. You can open a picture file instead.');
    const wide = path.join(scratch, 'wide picture.png');
    fs.copyFileSync(path.join(scratch, 'thirdPic.png'), wide);
    const box = await (await refused.$('#stage')).boundingBox();
    const middle = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    const drag = { items: [], files: [wide], dragOperationsMask: 1 };
    await refused.mouse.dragEnter(middle, drag);
    await refused.mouse.dragOver(middle, drag);
    await refused.mouse.drop(middle, drag);
    await refused.waitForFunction(() => !document.querySelector('#apply').disabled);
    assert.equal(await refused.$eval('#status', (s) => s.textContent), '600 × 400 pixels');
    assert.match(await applyAndCompare(refused, scratch, 'wide picture-edges.png', 'opened picture'),
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
      await (await refused.$('#open')).uploadFile(path.join(scratch, name));
      await refused.waitForFunction((text) => document.querySelector('#error').textContent === text, {
        timeout: 60000 }, `${name} cannot be opened: ${why}`);
    }
    assert.equal(await refused.$eval('#view', (v) => v.getAttribute('aria-label')),
      'Edge map of wide picture.png');
    await refused.screenshot({ path: path.join(shots, 'error.png') });
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
