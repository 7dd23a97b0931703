// The native benchmark's pictures: bench/pictures/*.pgm resized bilinearly to
// each size exactly as bench/pictures.cpp does (centres aligned, clamped ends,
// rounded to nearest), so that both benchmarks time the same bytes.
'use strict';

function readPgm(bytes) {
  const header = new TextDecoder('latin1').decode(bytes.subarray(0, 64))
    .match(/^P5\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) throw new Error('not an 8-bit binary PGM');
  const [width, height] = [+header[1], +header[2]];
  return { width, height, bytes: bytes.subarray(header[0].length, header[0].length + width * height) };
}

function taps(from, to) {
  const scale = from / to;
  return Array.from({ length: to }, (_, i) => {
    const s = Math.min(Math.max((i + 0.5) * scale - 0.5, 0), from - 1);
    const lo = Math.trunc(s);
    return { lo, hi: Math.min(lo + 1, from - 1), weight: s - lo };
  });
}

function resizeBilinear(source, width, height) {
  const across = taps(source.width, width), down = taps(source.height, height);
  const bytes = new Uint8Array(width * height);
  const at = (x, y) => source.bytes[y * source.width + x];
  let out = 0;
  for (const v of down) {
    for (const u of across) {
      const top = at(u.lo, v.lo) + u.weight * (at(u.hi, v.lo) - at(u.lo, v.lo));
      const bottom = at(u.lo, v.hi) + u.weight * (at(u.hi, v.hi) - at(u.lo, v.hi));
      bytes[out++] = Math.round(top + v.weight * (bottom - top));  // never negative: lround's
    }
  }
  return { width, height, bytes };
}

if (typeof module !== 'undefined') module.exports = { readPgm, resizeBilinear };
