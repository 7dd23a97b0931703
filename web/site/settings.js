// The tabs and their sliders as the desktop application has them, and the
// canny command that reproduces an edge map. A classic script: the page, its
// worker and the Node tests all load it.
(function (root) {
  'use strict';
  const f = Math.fround;
  const row = (min, max, start) => ({ min: f(min), max: f(max), start: f(start) });
  const t1 = row(0, 10, 2), t2 = row(0, 10, 6), steps = row(0, 8, 4);

  // Sigma starts at 0 on the sample tabs (no smoothing) and at 2 on the camera tab.
  const tabs = [
    { title: 'First', picture: 'firstPic.png', t1: row(0, 1, 0.6), t2: row(0, 2, 0.8),
      sigma: row(0, 60, 0), steps },
    { title: 'Second', picture: 'secondPic.png', t1, t2, sigma: row(0, 60, 0), steps },
    { title: 'Third', picture: 'thirdPic.png', t1, t2, sigma: row(0, 60, 0), steps },
    { title: 'Fourth', picture: 'fourthPic.png', t1, t2, sigma: row(0, 60, 0), steps },
    { title: 'Fifth', picture: null, t1, t2, sigma: row(0, 60, 2), steps },
  ];

  // A slider's handle has 1000 positions between its ends, or one per whole
  // number for Steps; a key press moves a hundredth of the range, Page a tenth.
  const kPositions = 1000;
  function positions(setting, whole) {
    const span = setting.max - setting.min;
    return whole && span >= 1 && span <= kPositions ? span : kPositions;
  }
  // The float at a handle position: the ends exactly, between them the float
  // nearest the place.
  function valueAt(setting, whole, position) {
    const n = positions(setting, whole);
    if (position <= 0) return setting.min;
    if (position >= n) return setting.max;
    return f(setting.min + ((setting.max - setting.min) * position) / n);
  }
  function positionOf(setting, whole, value) {
    const span = setting.max - setting.min;
    return span > 0 ? Math.round(((value - setting.min) / span) * positions(setting, whole)) : 0;
  }
  // The readout: every digit a handle position can set (0.637, 6.25), a count
  // as its whole number.
  function readout(setting, whole, value) {
    if (whole) return String(Math.trunc(value));
    const step = (setting.max - setting.min) / positions(setting, whole);
    let digits = 0;
    for (let scale = 1; digits < 6; ++digits, scale *= 10)
      if (Math.abs(step * scale - Math.round(step * scale)) < 1e-6) break;
    return value.toFixed(digits);
  }

  // The shortest decimal that reads back as the same single-precision float.
  function shortestDecimal(value) {
    if (!Number.isFinite(value)) return String(value).replace('Infinity', 'inf');
    for (let digits = 1; digits < 9; ++digits) {
      const text = String(Number(value.toPrecision(digits)));
      if (f(Number(text)) === value) return text;
    }
    return String(Number(value.toPrecision(9)));
  }
  function shellWord(word) {
    return /^[A-Za-z0-9_./+-]+$/.test(word) ? word : "'" + word.replace(/'/g, "'\\''") + "'";
  }
  // The command line that writes the same edge map from the same picture file.
  function cannyCommand(settings, input) {
    const base = input.includes('.') ? input.slice(0, input.lastIndexOf('.')) : input;
    return ['canny', '--t1', shortestDecimal(settings.t1), '--t2', shortestDecimal(settings.t2),
      '--sigma', shortestDecimal(settings.sigma), '--steps', String(settings.steps),
      shellWord(input), shellWord(base + '-edges.png')].join(' ');
  }

  const api = { tabs, positions, valueAt, positionOf, readout, shortestDecimal, cannyCommand };
  if (typeof module === 'object' && module.exports) module.exports = api;
  else root.cannySettings = api;
})(typeof self === 'object' ? self : this);
