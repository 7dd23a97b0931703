// Zoom: the picture fitted to its place, or a fixed number of screen pixels a
// picture pixel; enlarged, each picture pixel stays a crisp square.
'use strict';
const zoom = (() => {
  const byId = (id) => document.getElementById(id);
  const kSteps = [0.125, 0.25, 0.5, 1, 2, 4, 8, 16, 32];
  let factor = 0;  // screen pixels a picture pixel; 0 fits the picture

  // Screen pixels a picture pixel when fitted.
  function fitted() {
    const view = byId('view'), box = byId('stage').getBoundingClientRect();
    if (!view.width || !view.height) return 1;
    return Math.min(box.width / view.width, box.height / view.height) * devicePixelRatio;
  }

  function apply() {
    const view = byId('view');
    byId('stage').classList.toggle('zoomed', factor > 0);
    view.style.width = factor ? `${(view.width * factor) / devicePixelRatio}px` : '';
    view.style.height = factor ? `${(view.height * factor) / devicePixelRatio}px` : '';
    view.classList.toggle('crisp', (factor || fitted()) >= 1);
    byId('zoom-level').textContent = factor ? `${Number((factor * 100).toPrecision(4))} %` : 'Fit';
  }

  function set(to) {
    factor = to;
    apply();
  }
  // The next step beyond the scale shown, in or out.
  function step(direction) {
    const from = factor || fitted();
    set(direction > 0 ? kSteps.find((z) => z > from * 1.0001) ?? kSteps.at(-1)
                      : kSteps.findLast((z) => z < from / 1.0001) ?? kSteps[0]);
  }

  byId('zoom-fit').addEventListener('click', () => set(0));
  byId('zoom-one').addEventListener('click', () => set(1));
  byId('zoom-in').addEventListener('click', () => step(1));
  byId('zoom-out').addEventListener('click', () => step(-1));
  // On the picture, as on the desktop: + and - zoom, 0 fits, 1 shows 1:1.
  byId('stage').addEventListener('keydown', (event) => {
    const keys = { '+': () => step(1), '=': () => step(1), '-': () => step(-1), '0': () => set(0),
      '1': () => set(1) };
    if (event.ctrlKey || event.metaKey || event.altKey || !keys[event.key]) return;
    event.preventDefault();
    keys[event.key]();
  });
  addEventListener('resize', apply);
  return { apply };
})();
