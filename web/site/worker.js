// Detection off the page's thread: pictures are decoded and turned gray here,
// each tab's gray bytes kept for its next Apply, and edge maps sent back.
'use strict';
importScripts('canny-engine.js');

const kMaxPixels = 250000000;  // the desktop application's and the tool's pixel budget
// Warmed up at once, so that the first pictures and camera frames run at full speed.
const enginePromise = createCannyEngine().then((engine) => {
  engine._cannyWarmUp();
  return engine;
});
const pictures = new Map();  // tab -> { gray, width, height }

// The format a file's first bytes show, as the tool tells them.
function formatOf(bytes) {
  const starts = (...sig) => sig.every((b, i) => bytes[i] === b);
  if (starts(0x89, 0x50, 0x4e, 0x47)) return 'png';
  if (starts(0xff, 0xd8, 0xff)) return 'jpeg';
  if (starts(0x47, 0x49, 0x46, 0x38)) return 'gif';
  if (starts(0x42, 0x4d)) return 'bmp';
  if (starts(0x52, 0x49, 0x46, 0x46) && String.fromCharCode(...bytes.slice(8, 12)) === 'WEBP')
    return 'webp';
  if (starts(0x49, 0x49, 0x2a, 0) || starts(0x4d, 0x4d, 0, 0x2a)) return 'tiff';
  if (bytes[0] === 0x50 && bytes[1] >= 0x31 && bytes[1] <= 0x36) return 'netpbm';
  return '';
}

// Whether a PNG holds its end chunk and a JPEG its end marker.
function reachesItsEnd(format, bytes) {
  const has = (...sig) => {
    for (let at = bytes.indexOf(sig[0], 8); at >= 0; at = bytes.indexOf(sig[0], at + 1))
      if (sig.every((b, i) => bytes[at + i] === b)) return true;
    return false;
  };
  if (format === 'png') return has(0x49, 0x45, 0x4e, 0x44);  // IEND
  if (format === 'jpeg') return has(0xff, 0xd9);
  return true;
}

class Unreadable extends Error {}

// The picture drawn over black, as the application draws it into its gray
// bitmap, at full size; its colours exactly as stored.
async function decode(blob) {
  if (blob.size === 0) throw new Unreadable('empty file');
  const format = formatOf(new Uint8Array(await blob.slice(0, 16).arrayBuffer()));
  if (!format) throw new Unreadable('not a picture in a format this program reads');
  if (format === 'tiff' || format === 'netpbm')
    throw new Unreadable(`this page cannot read ${format === 'tiff' ? 'TIFF' : 'Netpbm'} ` +
                         'pictures; the canny tool can');
  // A file cut short is refused, not shown in part.
  if (!reachesItsEnd(format, new Uint8Array(await blob.arrayBuffer())))
    throw new Unreadable('the data is truncated');
  let bitmap;
  try {
    bitmap = await createImageBitmap(blob, { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
  } catch {
    throw new Unreadable('the data is damaged');
  }
  const { width, height } = bitmap;
  if (width * height > kMaxPixels)
    throw new Unreadable(`${width} x ${height} pixels is more than the budget of ${kMaxPixels} pixels`);
  const canvas = new OffscreenCanvas(width, height);
  const context = canvas.getContext('2d', { willReadFrequently: true });
  context.fillStyle = '#000';
  context.fillRect(0, 0, width, height);
  context.drawImage(bitmap, 0, 0);
  return { bitmap, rgba: context.getImageData(0, 0, width, height).data, width, height };
}

function grayOf(engine, rgba, count) {
  const from = engine._malloc(count * 4), to = engine._malloc(count);
  if (!from || !to) throw new Unreadable('out of memory');
  engine.HEAPU8.set(rgba, from);
  engine._cannyGrayFromRgba(from, count, to);
  const gray = engine.HEAPU8.slice(to, to + count);
  engine._free(from);
  engine._free(to);
  return gray;
}

function detect(engine, picture, settings) {
  const { gray, width, height } = picture;
  const at = engine._malloc(Math.max(gray.length, 1));
  if (!at) return { status: 2 };
  engine.HEAPU8.set(gray, at);
  const started = performance.now();
  const status = engine._cannyDetect(at, width, height, settings.t1, settings.t2, settings.sigma,
                                     settings.steps);
  const milliseconds = performance.now() - started;
  const edges = engine.HEAPU8.slice(at, at + gray.length);
  engine._free(at);
  return { status, edges, milliseconds };
}

// An 8-bit PNG of gray (one byte a pixel) or RGB (four bytes a pixel, alpha
// dropped) pixels, as the tool writes edge maps: unfiltered rows, zlib data.
const crcTable = Array.from({ length: 256 }, (_, n) => {
  for (let k = 0; k < 8; ++k) n = n & 1 ? 0xedb88320 ^ (n >>> 1) : n >>> 1;
  return n >>> 0;
});
function chunk(type, data) {
  const out = new Uint8Array(12 + data.length);
  const view = new DataView(out.buffer);
  view.setUint32(0, data.length);
  for (let i = 0; i < 4; ++i) out[4 + i] = type.charCodeAt(i);
  out.set(data, 8);
  let crc = 0xffffffff;
  for (let i = 4; i < 8 + data.length; ++i) crc = crcTable[(crc ^ out[i]) & 0xff] ^ (crc >>> 8);
  view.setUint32(8 + data.length, (crc ^ 0xffffffff) >>> 0);
  return out;
}
async function png(pixels, width, height, fromRgba = false) {
  const channels = fromRgba ? 3 : 1, line = width * channels + 1;
  const rows = new Uint8Array(line * height);
  if (!fromRgba) {
    for (let y = 0; y < height; ++y) rows.set(pixels.subarray(y * width, (y + 1) * width), y * line + 1);
  } else {
    for (let i = 0, at = 1; i < width * height; ++i, at += 3) {
      if (i % width === 0 && i) ++at;  // each row's filter byte
      rows[at] = pixels[4 * i];
      rows[at + 1] = pixels[4 * i + 1];
      rows[at + 2] = pixels[4 * i + 2];
    }
  }
  const zlib = await new Response(new Blob([rows]).stream().pipeThrough(new CompressionStream('deflate')))
    .arrayBuffer();
  const header = new Uint8Array(13);
  new DataView(header.buffer).setUint32(0, width);
  new DataView(header.buffer).setUint32(4, height);
  header.set([8, fromRgba ? 2 : 0, 0, 0, 0], 8);  // 8-bit gray or RGB, deflate, no interlace
  const signature = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];
  return new Blob([new Uint8Array(signature), chunk('IHDR', header), chunk('IDAT', new Uint8Array(zlib)),
    chunk('IEND', new Uint8Array(0))], { type: 'image/png' });
}

// A stage other than the edge map, drawn gray as the desktop application shows it.
const kStages = ['smoothed', 'magnitude', 'thinned'];
function stageOf(engine, picture, settings, stage) {
  const { gray, width, height } = picture;
  const at = engine._malloc(gray.length * 2 + 4);
  if (!at) return { status: 2 };
  engine.HEAPU8.set(gray, at);
  const started = performance.now();
  const status = engine._cannyStage(at, width, height, settings.t1, settings.t2, settings.sigma,
                                    settings.steps, kStages.indexOf(stage), at + gray.length,
                                    at + 2 * gray.length);
  const milliseconds = performance.now() - started;
  const edges = engine.HEAPU8.slice(at + gray.length, at + 2 * gray.length);
  const white = new Float32Array(engine.HEAPU8.slice(at + 2 * gray.length, at + 2 * gray.length + 4).buffer)[0];
  engine._free(at);
  return { status, edges, milliseconds, white };
}

// Camera frames drawn into one canvas, kept for the next frame of that size.
let frameCanvas = null;
function frameRgba(bitmap) {
  const { width, height } = bitmap;
  if (frameCanvas?.width !== width || frameCanvas?.height !== height)
    frameCanvas = new OffscreenCanvas(width, height);
  const context = frameCanvas.getContext('2d', { willReadFrequently: true });
  context.fillStyle = '#000';
  context.fillRect(0, 0, width, height);
  context.drawImage(bitmap, 0, 0);
  bitmap.close();
  return { rgba: context.getImageData(0, 0, width, height).data, width, height };
}

// A taken frame shrunk to an eighth in each direction: the tab's picture from now on.
function shrunk(engine, frame) {
  const width = engine._cannyEighthOf(frame.width), height = engine._cannyEighthOf(frame.height);
  if (!width || !height)
    throw new Unreadable(`a frame of ${frame.width} x ${frame.height} pixels has no eighth to keep`);
  const from = engine._malloc(frame.rgba.length), to = engine._malloc(width * height * 4);
  const done = from && to && (engine.HEAPU8.set(frame.rgba, from),
                              engine._cannyShrinkRgba(from, frame.width, frame.height, to, width, height));
  const rgba = done ? engine.HEAPU8.slice(to, to + width * height * 4) : null;
  engine._free(from);
  engine._free(to);
  if (!rgba) throw new Unreadable('out of memory');
  return { rgba, width, height };
}

onmessage = async ({ data: request }) => {
  const reply = (message, transfer = []) => postMessage({ id: request.id, ...message }, transfer);
  try {
    const engine = await enginePromise;
    if (request.type === 'open') {
      const { bitmap, rgba, width, height } = await decode(request.blob);
      pictures.set(request.tab, { gray: grayOf(engine, rgba, width * height), width, height });
      reply({ bitmap, width, height }, [bitmap]);
    } else if (request.type === 'detect') {
      const picture = pictures.get(request.tab);
      if (!picture) return reply({ error: 'no picture' });
      const { settings, stage } = request;
      const result = stage === 'edges' ? detect(engine, picture, settings)
                                       : stageOf(engine, picture, settings, stage);
      if (result.status !== 0) return reply({ error: 'there was not enough memory for this picture' });
      reply({ ...result, width: picture.width, height: picture.height }, [result.edges.buffer]);
    } else if (request.type === 'frame') {
      const frame = frameRgba(request.bitmap);
      const gray = grayOf(engine, frame.rgba, frame.width * frame.height);
      const result = detect(engine, { gray, width: frame.width, height: frame.height }, request.settings);
      if (result.status !== 0) return reply({ error: 'there was not enough memory for this frame' });
      reply({ ...result, width: frame.width, height: frame.height }, [result.edges.buffer]);
    } else if (request.type === 'take') {
      const frame = frameRgba(request.bitmap);
      const { rgba, width, height } = shrunk(engine, frame);
      pictures.set(request.tab, { gray: grayOf(engine, rgba, width * height), width, height });
      const bitmap = await createImageBitmap(new ImageData(new Uint8ClampedArray(rgba.buffer), width, height));
      reply({ bitmap, width, height, frameWidth: frame.width, frameHeight: frame.height,
        png: await png(rgba, width, height, true) }, [bitmap]);
    } else if (request.type === 'png') {
      reply({ blob: await png(request.gray, request.width, request.height) });
    }
  } catch (error) {
    reply({ error: error instanceof Unreadable ? error.message : String(error.message ?? error) });
  }
};
