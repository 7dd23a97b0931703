// The page: five tabs over one screen, as the desktop application has them.
// Each tab keeps its slider values, picture and edge map; the worker detects.
'use strict';
const { tabs, positions, valueAt, positionOf, readout, cannyCommand } = self.cannySettings;
const kCameraTab = 4;

const $ = (id) => document.getElementById(id);
const view = $('view');
const sliderNames = ['t1', 't2', 'sigma', 'steps'];
const isWhole = (name) => name === 'steps';

const states = tabs.map((tab) => ({
  values: { t1: tab.t1.start, t2: tab.t2.start, sigma: tab.sigma.start, steps: tab.steps.start },
  picture: null,  // { bitmap, width, height, name }
  edges: null,    // { bytes, width, height, settings, stage, white, milliseconds }
  showsEdges: false,  // the edge map or stage, else the picture
  loading: null,
  detections: 0,  // the latest Apply's number: an older result arriving later is dropped
}));
let current = 0;

// The worker and its answers, matched to their questions.
const worker = new Worker('worker.js');
const waiting = new Map();
let asked = 0;
function ask(message, transfer = []) {
  return new Promise((resolve) => {
    waiting.set(++asked, resolve);
    worker.postMessage({ id: asked, ...message }, transfer);
  });
}
worker.onmessage = ({ data }) => {
  waiting.get(data.id)?.(data);
  waiting.delete(data.id);
};
worker.onerror = (event) => {
  showError(`The edge detector could not be started: ${event.message || 'unknown error'}.`);
  for (const resolve of waiting.values()) resolve({ error: 'the edge detector is not running' });
  waiting.clear();
};

function showError(text) { $('error').textContent = text; }

// --- Tabs ---------------------------------------------------------------

const tabButtons = tabs.map((tab, i) => {
  const button = document.createElement('button');
  button.type = 'button';
  button.role = 'tab';
  button.id = `tab-${i}`;
  button.textContent = tab.title;
  button.setAttribute('aria-controls', 'screen');
  button.addEventListener('click', () => select(i));
  button.addEventListener('keydown', (event) => {
    const to = { ArrowRight: i + 1, ArrowLeft: i - 1, Home: 0, End: tabs.length - 1 }[event.key];
    if (to === undefined) return;
    event.preventDefault();
    const next = (to + tabs.length) % tabs.length;
    select(next);
    tabButtons[next].focus();
  });
  $('tabs').append(button);
  return button;
});

function select(i) {
  if (current !== i && current === kCameraTab) camera.stop();
  current = i;
  tabButtons.forEach((button, j) => {
    button.setAttribute('aria-selected', String(i === j));
    button.tabIndex = i === j ? 0 : -1;
  });
  $('screen').setAttribute('aria-labelledby', `tab-${i}`);
  for (const name of sliderNames) placeSlider(name);
  showError('');
  show();
  if (tabs[i].picture && !states[i].picture) loadSample(i);
  // The camera opens whenever its tab is chosen, as on the desktop.
  if (i === kCameraTab) camera.start();
}

// --- Sliders -------------------------------------------------------------

function placeSlider(name) {
  const setting = tabs[current][name], input = $(name);
  input.max = positions(setting, isWhole(name));
  input.value = positionOf(setting, isWhole(name), states[current].values[name]);
  showValue(name);
}

function showValue(name) {
  const text = readout(tabs[current][name], isWhole(name), states[current].values[name]);
  $(`${name}-value`).textContent = text;
  $(name).setAttribute('aria-valuetext', text);
}

for (const name of sliderNames) {
  const input = $(name);
  const moved = () => {
    states[current].values[name] = valueAt(tabs[current][name], isWhole(name), input.valueAsNumber);
    showValue(name);
    if ($('live').checked) apply();
  };
  input.addEventListener('input', moved);
  // As on the desktop: a key press moves a hundredth of the range, Page a tenth.
  input.addEventListener('keydown', (event) => {
    const n = Number(input.max), step = Math.max(1, Math.floor(n / 100));
    const page = Math.max(1, Math.floor(n / 10));
    const by = { ArrowRight: step, ArrowUp: step, ArrowLeft: -step, ArrowDown: -step,
      PageUp: page, PageDown: -page }[event.key];
    if (by === undefined) return;
    event.preventDefault();
    input.value = Math.min(n, Math.max(0, input.valueAsNumber + by));
    moved();
  });
}

// --- What the screen shows ----------------------------------------------

const kStageNames = { smoothed: 'Smoothed picture', magnitude: 'Gradient magnitude',
  thinned: 'Thinned magnitude', edges: 'Edge map' };

function show() {
  const state = states[current], picture = state.picture;
  const filming = camera.filming();
  $('placeholder').hidden = Boolean(picture) || Boolean(state.loading) || filming;
  view.hidden = filming;
  $('apply').disabled = $('reset').disabled = !picture || filming;
  const edges = state.showsEdges && state.edges;
  $('save').disabled = !edges || filming;
  $('save').textContent = edges && edges.stage !== 'edges' ? 'Save stage' : 'Save edge map';
  $('compare').disabled = !edges || filming;
  $('command-line').hidden = !edges || edges.stage !== 'edges' || filming;
  camera.showControls(current === kCameraTab);
  if (filming) return;
  if (!picture) {
    view.width = view.height = 0;
    view.setAttribute('aria-label', 'No picture');
    $('status').textContent = state.loading ? 'Loading the picture…' : '';
    return;
  }
  const context = view.getContext('2d');
  const compared = edges && (comparing.toggled || comparing.held);
  if (edges && !compared) {
    view.width = edges.width;
    view.height = edges.height;
    const rgba = new ImageData(edges.width, edges.height);
    for (let i = 0, j = 0; i < edges.bytes.length; ++i, j += 4) {
      rgba.data[j] = rgba.data[j + 1] = rgba.data[j + 2] = edges.bytes[i];
      rgba.data[j + 3] = 255;
    }
    context.putImageData(rgba, 0, 0);
    view.setAttribute('aria-label', `${kStageNames[edges.stage]} of ${picture.name}`);
    let detail;
    if (edges.stage === 'edges') {
      let count = 0;
      for (const b of edges.bytes) count += b !== 0;
      detail = `${count.toLocaleString()} edge pixels`;
      $('command').textContent = cannyCommand(edges.settings, picture.name);
    } else {
      detail = edges.stage === 'smoothed' ? 'smoothed' : `white = magnitude ${edges.white.toPrecision(4)}`;
    }
    $('status').textContent = `${sizeText(edges)} · computed in ${edges.milliseconds.toFixed(1)} ms · ${detail}`;
  } else {
    view.width = picture.width;
    view.height = picture.height;
    context.drawImage(picture.bitmap, 0, 0);
    view.setAttribute('aria-label', compared ? `${picture.name}, shown to compare` : picture.name);
    $('status').textContent = sizeText(picture) + (picture.note ? ` · ${picture.note}` : '');
  }
  zoom.apply();
}

const sizeText = ({ width, height }) => `${width} × ${height} pixels`;

// --- Pictures -------------------------------------------------------------

async function open(i, blob, name) {
  const state = states[i];
  if (i === kCameraTab) camera.stop();
  state.loading = name;
  if (i === current) show();
  const answer = await ask({ type: 'open', tab: i, blob });
  state.loading = null;
  if (answer.error) {
    if (i === current) showError(`${name} cannot be opened: ${answer.error}`);
  } else {
    state.picture = { bitmap: answer.bitmap, width: answer.width, height: answer.height, name };
    state.edges = null;
    state.showsEdges = false;
    ++state.detections;
    if (i === current) showError('');
  }
  if (i === current) show();
}

async function loadSample(i) {
  const name = tabs[i].picture;
  try {
    const response = await fetch(name);
    if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
    await open(i, await response.blob(), name);
  } catch (error) {
    if (i === current) showError(`${name} cannot be opened: ${error.message}`);
  }
}

$('open').addEventListener('change', () => {
  const file = $('open').files[0];
  if (file) open(current, file, file.name);
  $('open').value = '';
});

const stage = $('stage');
stage.addEventListener('dragover', (event) => {
  event.preventDefault();
  stage.classList.add('dropping');
});
stage.addEventListener('dragleave', () => stage.classList.remove('dropping'));
stage.addEventListener('drop', (event) => {
  event.preventDefault();
  stage.classList.remove('dropping');
  const file = event.dataTransfer.files[0];
  if (file) open(current, file, file.name);
});

// --- Apply, Reset, Save ----------------------------------------------------

// One detection at a time; moves made meanwhile are coalesced into one more.
let detecting = false, pending = false;
async function apply() {
  if (!states[current].picture || camera.filming()) return;
  if (detecting) {
    pending = true;
    return;
  }
  detecting = true;
  stage.setAttribute('aria-busy', 'true');
  do {
    pending = false;
    await detectOnce(current);
  } while (pending);
  detecting = false;
  stage.removeAttribute('aria-busy');
}

// Steps is a whole number only here, truncated toward zero.
const settingsOf = (v) => ({ t1: v.t1, t2: v.t2, sigma: v.sigma, steps: Math.trunc(v.steps) });

async function detectOnce(i) {
  const state = states[i];
  if (!state.picture) return;
  const settings = settingsOf(state.values);
  const stage = $('stage-choice').value;
  const number = ++state.detections;
  $('status').textContent = stage === 'edges' ? 'Detecting edges…' : 'Computing the stage…';
  const answer = await ask({ type: 'detect', tab: i, settings, stage });
  if (number !== state.detections) return;
  if (answer.error) {
    if (i === current) showError(`No edge map: ${answer.error}.`);
    return;
  }
  state.edges = { bytes: answer.edges, width: answer.width, height: answer.height, settings, stage,
    white: answer.white, milliseconds: answer.milliseconds };
  state.showsEdges = true;
  if (i === current) show();
}

$('apply').addEventListener('click', apply);
// Live: every slider move, and ticking the box, shows the edge map at once.
$('live').addEventListener('change', () => $('live').checked && apply());

$('reset').addEventListener('click', () => {
  ++states[current].detections;
  states[current].showsEdges = false;
  show();
});

$('save').addEventListener('click', async () => {
  const { edges, picture } = states[current];
  if (!edges) return;
  const answer = await ask({ type: 'png', gray: edges.bytes, width: edges.width, height: edges.height });
  if (answer.error) return showError(`The edge map cannot be saved: ${answer.error}.`);
  const suffix = edges.stage === 'edges' ? 'edges' : edges.stage;
  download(answer.blob, picture.name.replace(/\.[^.]*$/, '') + `-${suffix}.png`);
});

function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

$('copy-command').addEventListener('click', () =>
  navigator.clipboard?.writeText($('command').textContent));

// The stage shown: a new choice shows at once where a result is shown.
$('stage-choice').addEventListener('change', () => states[current].showsEdges && apply());

// Compare: the picture in place of the map while the button is down, or
// while Space or the pointer is held on the picture.
const comparing = { toggled: false, held: false };
function compare(how, on) {
  if (on && $('compare').disabled) return;
  comparing[how] = on;
  $('compare').setAttribute('aria-pressed', String(comparing.toggled));
  show();
}
$('compare').addEventListener('click', () => compare('toggled', !comparing.toggled));
view.addEventListener('pointerdown', () => compare('held', true));
for (const type of ['pointerup', 'pointercancel', 'pointerleave'])
  view.addEventListener(type, () => comparing.held && compare('held', false));
stage.addEventListener('keydown', (event) => {
  if (event.key !== ' ' || event.repeat || event.target !== stage) return;
  event.preventDefault();
  compare('held', true);
});
stage.addEventListener('keyup', (event) => {
  if (event.key === ' ' && comparing.held) compare('held', false);
});

select(0);
