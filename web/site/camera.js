// The camera tab's viewfinder: the browser's camera, each frame's edge map at
// the tab's sliders (the newest frame next, never a queue of old ones), and
// Take, which keeps an eighth of a frame as the tab's picture.
'use strict';
const camera = (() => {
  const byId = (id) => document.getElementById(id);
  const video = byId('viewfinder'), edgesView = byId('finder-edges');
  const kNoCamera = 'No camera was found. You can open a picture file instead.';
  let stream = null, starting = null, note = '', busy = false, frames = 0;

  function messageFor(error) {
    if (error.name === 'NotFoundError' || error.name === 'OverconstrainedError') return kNoCamera;
    if (error.name === 'NotAllowedError' || error.name === 'SecurityError')
      return 'Camera error: the use of the camera was refused. You can open a picture file instead.';
    if (error.name === 'NotReadableError')
      return 'Camera error: the camera is in use or cannot be read. You can open a picture file instead.';
    return `Camera error: ${error.message || error.name}`;
  }

  async function start() {
    if (stream || starting) return;
    note = '';
    if (!navigator.mediaDevices?.getUserMedia) {
      // Browsers offer cameras only to pages from https or from this computer.
      note = kNoCamera;
      return show();
    }
    const token = (starting = {});
    show();
    try {
      const opened = await navigator.mediaDevices.getUserMedia(
        { video: { width: { ideal: 1280 }, height: { ideal: 720 } }, audio: false });
      if (starting !== token) return opened.getTracks().forEach((track) => track.stop());
      stream = opened;
      video.srcObject = opened;
      await video.play();
    } catch (error) {
      if (starting !== token) return;
      stop();
      note = messageFor(error);
    }
    if (starting === token) starting = null;
    show();
    nextFrame();
  }

  function stop() {
    starting = null;
    stream?.getTracks().forEach((track) => track.stop());
    stream = null;
    video.srcObject = null;
  }

  function nextFrame() {
    if (!stream || busy) return;
    if (video.requestVideoFrameCallback) video.requestVideoFrameCallback(frame);
    else requestAnimationFrame(frame);
  }

  const edgesOn = () => byId('finder-edges-on').checked;
  function showViewfinder() {
    video.hidden = !stream || edgesOn();
    edgesView.hidden = !stream || !edgesOn();
  }

  async function frame() {
    if (!stream || busy) return;
    showViewfinder();
    if (edgesOn() && video.readyState >= 2) {
      busy = true;
      try {
        const bitmap = await createImageBitmap(video);
        const answer = await ask({ type: 'frame', bitmap, settings: settingsOf(states[kCameraTab].values) },
                                 [bitmap]);
        if (stream && edgesOn() && !answer.error) paint(answer);
      } catch (error) {
        // A frame the camera could not give: the next one will do.
      }
      busy = false;
    }
    nextFrame();
  }

  function paint({ edges, width, height, milliseconds }) {
    edgesView.width = width;
    edgesView.height = height;
    const rgba = new ImageData(width, height);
    for (let i = 0, j = 0; i < edges.length; ++i, j += 4) {
      rgba.data[j] = rgba.data[j + 1] = rgba.data[j + 2] = edges[i];
      rgba.data[j + 3] = 255;
    }
    edgesView.getContext('2d').putImageData(rgba, 0, 0);
    // Square pixels where the frame is enlarged; shrunk, smoothed so that thin edges stay.
    const box = edgesView.getBoundingClientRect();
    edgesView.classList.toggle('crisp', Math.min(box.width / width, box.height / height) * devicePixelRatio >= 1);
    edgesView.dataset.frames = ++frames;
    $('status').textContent = `Viewfinder ${width} × ${height} pixels · edges in ${milliseconds.toFixed(1)} ms`;
  }

  const two = (n) => String(n).padStart(2, '0');
  function shotName(at = new Date()) {
    return `camera-${at.getFullYear()}${two(at.getMonth() + 1)}${two(at.getDate())}-` +
           `${two(at.getHours())}${two(at.getMinutes())}${two(at.getSeconds())}.png`;
  }

  async function take() {
    if (!stream || video.readyState < 2) return;
    const bitmap = await createImageBitmap(video);
    const answer = await ask({ type: 'take', tab: kCameraTab, bitmap }, [bitmap]);
    if (answer.error) return showError(`The picture could not be taken: ${answer.error}`);
    const state = states[kCameraTab];
    state.picture = { bitmap: answer.bitmap, width: answer.width, height: answer.height,
      name: shotName(), png: answer.png,
      note: `an eighth of ${answer.frameWidth} × ${answer.frameHeight}` };
    state.edges = null;
    state.showsEdges = false;
    ++state.detections;
    stop();
    showError('');
    show();
  }

  // The camera's buttons on its tab: Take and Cancel while the viewfinder
  // runs, else the way back to it and Save picture for a taken one.
  function showControls(onCameraTab) {
    const filming = Boolean(stream || starting), picture = states[kCameraTab].picture;
    byId('camera-tools').hidden = !onCameraTab;
    for (const id of ['take', 'cancel-camera', 'finder-edges-label']) byId(id).hidden = !filming;
    byId('take').disabled = !stream;
    byId('camera-on').hidden = filming;
    byId('save-picture').hidden = filming || !picture?.png;
    byId('camera-note').textContent = onCameraTab ? note : '';
    showViewfinder();
    if (onCameraTab && starting) $('status').textContent = 'Starting the camera…';
  }

  byId('camera-on').addEventListener('click', start);
  byId('take').addEventListener('click', take);
  byId('cancel-camera').addEventListener('click', () => {
    stop();
    show();
  });
  byId('finder-edges-on').addEventListener('change', showViewfinder);
  byId('save-picture').addEventListener('click', () => {
    const { picture } = states[kCameraTab];
    if (picture?.png) download(picture.png, picture.name);
  });
  // A page out of sight lets the camera go.
  document.addEventListener('visibilitychange', () => {
    if (document.hidden && (stream || starting)) {
      stop();
      show();
    }
  });

  return { start, stop, showControls, filming: () => Boolean(stream || starting) };
})();
