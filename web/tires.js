// The bench's pixels on the screen: strips, one canvas a band of the bench, that take the
// rectangles the page copies to them and show them once a paint has copied them all. A strip is
// shown as a bitmap where the browser can make one at once, and is a plain 2d canvas elsewhere.
'use strict';

// Without the GPU, the browser copies every 2d canvas that has been painted on to the screen at
// every frame, changed or not; a canvas shown as a bitmap it copies only when it is handed a new
// one, so a click pays for the strips it changed and no others. Unlike a desynchronized canvas,
// a bitmap stays shown when the browser draws the page again, for a screenshot that resizes the
// view for one.
const TIRES_BITMAP = typeof OffscreenCanvas === 'function' && typeof ImageBitmapRenderingContext === 'function' &&
  typeof OffscreenCanvas.prototype.transferToImageBitmap === 'function';

// The most bytes a strip takes. A bitmap of a megabyte or more is new memory from the system each
// time one is made, which costs ten times the copy (about 10 ms against 0.2 ms at ratio 3 on a
// shared two-core machine); a smaller one reuses the memory of the one it replaces.
const BYTES_TIRA = 512 * 1024;

const sencer = (x) => Math.abs(x - Math.round(x)) < 1e-6; // whole, but for floating point's error

// Opaque black as four bytes of an ImageData read as one number, whatever the machine's byte order.
const NEGRE = new Uint32Array(Uint8ClampedArray.of(0, 0, 0, 255).buffer)[0];

// The strips' height in device pixels for a canvas `width` device pixels wide at a device pixel
// ratio: a whole number of CSS pixels and of device pixels, so that strips meet exactly, near 40
// CSS pixels and within BYTES_TIRA; where no height is all of these, the whole canvas's `height`.
function alturaTires(width, height, ratio) {
  const css = [40, 45, 48, 50, 60, 64, 75, 80, 100, 32, 30, 25, 24, 20, 16, 15, 12, 10, 8, 6, 5, 4, 3, 2, 1]
    .find((h) => sencer(h * ratio) && Math.round(h * ratio) * width * 4 <= BYTES_TIRA);
  return css ? Math.round(css * ratio) : height;
}

// The tiles' height and width in device pixels for a canvas `width` × `height` device pixels at a
// device pixel ratio: bands as alturaTires makes them for the narrowest tile, each cut across
// into as few tiles as keep within BYTES_TIRA, every tile but the last a whole number of bands
// wide. A band as wide as the canvas would be lower, more bands to a click: a change down the
// bench, a filter's, hands a new bitmap to every band it crosses, which costs about the same
// whatever the band's width.
function ampleTires(width, height, ratio) {
  const altura = alturaTires(1, height, ratio);
  if (altura === height) return [altura, width];
  const bandes = Math.max(1, Math.floor(BYTES_TIRA / (4 * altura * altura)));
  return [altura, Math.min(width, bandes * altura)];
}

// A strip shown as a bitmap: the page keeps the strip's pixels, and each paint that changes them
// hands the canvas a new bitmap of them. A bitmap taken from a 2d canvas leaves it black, so the
// pixels are kept apart from it.
class TiraBitmap {
  constructor(canvas) {
    this.canvas = canvas;
    this.pantalla = canvas.getContext('bitmaprenderer', { alpha: false });
    this.pixels = new ImageData(canvas.width, canvas.height);
    this.paraules = new Uint32Array(this.pixels.data.buffer); // a pixel each
    this.paraules.fill(NEGRE);
    this.bitmap = new OffscreenCanvas(canvas.width, canvas.height).getContext('2d', { alpha: false });
  }

  // The part sx, sy, sw × sh of the pixels, whose corner goes at x, y of the strip, as a 2d
  // context's putImageData takes it; the part lies within the strip. Says whether the strip's
  // pixels changed: the module repaints whole rectangles, much of which it paints as it was.
  posa(pixels, x, y, sx, sy, sw, sh) {
    const from = new Uint32Array(pixels.data.buffer, pixels.data.byteOffset, pixels.width * pixels.height);
    const to = this.paraules;
    let canvia = false;
    for (let row = sy; row < sy + sh; ++row) {
      const at = row * pixels.width + sx, end = at + sw;
      const shift = (y + row) * this.canvas.width + x - row * pixels.width; // from the pixels to the strip
      let i = at;
      while (i < end && from[i] === to[i + shift]) ++i;
      if (i < end) {
        to.set(from.subarray(i, end), i + shift);
        canvia = true;
      }
    }
    return canvia;
  }

  mostra() {
    this.bitmap.putImageData(this.pixels, 0, 0);
    this.pantalla.transferFromImageBitmap(this.bitmap.canvas.transferToImageBitmap());
  }
}

// A strip that is a 2d canvas, shown as it is painted.
class TiraCanvas {
  constructor(canvas) {
    this.canvas = canvas;
    this.context = canvas.getContext('2d', { alpha: false });
  }

  posa(pixels, x, y, sx, sy, sw, sh) {
    this.context.putImageData(pixels, x, y, sx, sy, sw, sh);
    return true;
  }

  mostra() {}
}

// The strip for a canvas of its band's size.
function novaTira(canvas) {
  return TIRES_BITMAP ? new TiraBitmap(canvas) : new TiraCanvas(canvas);
}
