// The page around the show: the canvases the painter draws on, the embedded
// faces and portraits, the timers that step the show, the window's size and,
// for a saver, the input that ends it. Runs before the WebAssembly starts
// (Emscripten's --pre-js), beside MirobelAssets (the fonts and portraits).
'use strict';

function mirobelBytes(base64) {
  const text = atob(base64);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  return bytes;
}

// The face's ascent per pixel of em size, from its own tables, so that text
// stands where the other platforms put it: the baseline at the top plus the
// ascent rounded up to a whole pixel, as FreeType grid-fits it for cairo.
function mirobelAscent(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const tables = {};
  for (let i = 0, n = view.getUint16(4); i < n; ++i) {
    const at = 12 + 16 * i;
    tables[String.fromCharCode(...bytes.subarray(at, at + 4))] = view.getUint32(at + 8);
  }
  return view.getInt16(tables.hhea + 4) / view.getUint16(tables.head + 18);
}

var MirobelCanvas = {
  list: [],
  free: [],
  names: ['MirobelMincho', 'MirobelBrush', 'MirobelLatin'],
  ascents: [1, 1, 1],
  measure: null,
  portraits: new Map(),  // poem -> {image, pending}

  create(width, height) {
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    const id = this.free.length ? this.free.pop() : this.list.length;
    this.list[id] = canvas.getContext('2d', {alpha: false});
    return id;
  },
  destroy(id) {
    this.list[id].canvas.width = 0;  // gives its pixels back at once
    this.list[id] = null;
    this.free.push(id);
  },
  colour(rgb) { return '#' + rgb.toString(16).padStart(6, '0'); },
  fill(id, x, y, w, h, rgb) {
    const cx = this.list[id];
    cx.fillStyle = this.colour(rgb);
    cx.fillRect(x, y, w, h);
  },
  clip(id, x, y, w, h) {
    const cx = this.list[id];
    cx.save();
    cx.beginPath();
    cx.rect(x, y, w, h);
    cx.clip();
  },
  unclip(id) { this.list[id].restore(); },
  font(face, bold, px) { return (bold ? 'bold ' : '') + px + 'px ' + this.names[face]; },
  // One glyph at a time, each advance rounded to a whole pixel: cairo's text
  // with hinted metrics, so that a line ends where it ends there (the
  // browser's fractional advances drift by pixels along a line of Latin).
  advance(cx, ch) { return Math.round(cx.measureText(ch).width); },
  text(id, face, bold, px, rgb, x, y, text) {
    const cx = this.list[id];
    cx.font = this.font(face, bold, px);
    cx.fillStyle = this.colour(rgb);
    cx.textBaseline = 'alphabetic';
    const baseline = y + Math.ceil(this.ascents[face] * px - 1e-9);
    // FreeType's synthetic bold grows a glyph to the right (and upwards) by
    // an em / 24; the browser's grows it evenly all round. (The browser
    // puts glyphs on whole pixels vertically: only the sideways half moves.)
    const shift = bold ? px / 48 : 0;
    let pen = x;
    for (const ch of text) {
      cx.fillText(ch, pen + shift, baseline);
      pen += this.advance(cx, ch);
    }
    // The ink's box, with room for the synthesised bold and antialiasing.
    const m = cx.measureText(text);
    return [Math.floor(x - m.actualBoundingBoxLeft) - 2, Math.floor(baseline - m.actualBoundingBoxAscent) - 2,
            Math.ceil(Math.max(x + m.actualBoundingBoxRight, pen)) + px, Math.ceil(baseline + m.actualBoundingBoxDescent) + 2];
  },
  width(face, px, text) {
    this.measure = this.measure || document.createElement('canvas').getContext('2d');
    this.measure.font = this.font(face, false, px);
    let width = 0;
    for (const ch of text) width += this.advance(this.measure, ch);
    return width;
  },
  copy(from, fromX, fromY, to, x, y, w, h) {
    if (w > 0 && h > 0) this.list[to].drawImage(this.list[from].canvas, fromX, fromY, w, h, x, y, w, h);
  },
  requestPortrait(poem) {
    const jpeg = MirobelAssets.portraits[poem];
    if (this.portraits.has(poem) || !jpeg) return;
    const entry = {image: null, pending: null};
    entry.pending = createImageBitmap(new Blob([mirobelBytes(jpeg)], {type: 'image/jpeg'})).then((image) => {
      if (this.portraits.get(poem) !== entry) return image.close();
      entry.image = image;
    }, () => {});
    this.portraits.set(poem, entry);
  },
  portrait(id, poem, x, y, w, h) {
    const entry = this.portraits.get(poem);
    if (!entry || !entry.image) return false;
    const cx = this.list[id];
    cx.save();
    cx.beginPath();
    cx.rect(x, y, w, h);
    cx.clip();
    cx.imageSmoothingQuality = 'high';
    cx.drawImage(entry.image, x, y, w, h);
    cx.restore();
    return true;
  },
  keepPortrait(poem) {
    // (Written without destructuring, which Emscripten's optimiser here drops.)
    this.portraits.forEach((entry, n) => {
      if (n === poem) return;
      if (entry.image) entry.image.close();
      this.portraits.delete(n);
    });
  },
  // Settles once every asked-for portrait is decoded (or failed).
  decoded() { return Promise.all([...this.portraits.values()].map((e) => e.pending)); },
};

var Module = {
  // The show writes nothing for people to read; a failure goes to the console.
  print: () => {},
  printErr: (text) => console.warn(text),
};

var MirobelPage = {
  state: 'loading',
  width: 0,
  height: 0,
  ratio: 1,
  timer: 0,
  query: location.search,

  // (Promises, not async: Emscripten's optimiser here drops `async` from methods.)
  loadFaces() {
    const sources = [MirobelAssets.mincho, MirobelAssets.brush, MirobelAssets.latin];
    return Promise.all(sources.map((base64, face) => {
      const bytes = mirobelBytes(base64);
      MirobelCanvas.ascents[face] = mirobelAscent(bytes);
      return new FontFace(MirobelCanvas.names[face], bytes).load().then((font) => document.fonts.add(font));
    }));
  },

  // The canvas in device pixels, as large as the window.
  fit() {
    const canvas = MirobelCanvas.list[0].canvas;
    this.ratio = window.devicePixelRatio || 1;
    this.width = Math.max(1, Math.round(window.innerWidth * this.ratio));
    this.height = Math.max(1, Math.round(window.innerHeight * this.ratio));
    canvas.width = this.width;  // also black again
    canvas.height = this.height;
  },

  start() {
    clearTimeout(this.timer);
    this.fit();
    Module.ccall('mirobel_start', null, ['string', 'string', 'number', 'number', 'number', 'number'],
                 [this.query, navigator.language || '', this.width, this.height, this.ratio, performance.now()]);
    this.state = 'running';
    this.tick();
  },

  tick() {
    const wait = Module._mirobel_tick(performance.now());
    if (wait >= 0) this.timer = setTimeout(() => this.tick(), wait);
    else this.recorded();
  },

  recorded() {
    // The last frame with its portrait, for comparing pictures too.
    MirobelCanvas.decoded().then(() => {
      Module._mirobel_repaint(this.width, this.height);
      this.state = 'recorded';
    });
  },

  resized() {
    const ratio = window.devicePixelRatio || 1;
    if (ratio !== this.ratio) return this.start();  // a new scale: the show starts again at it
    const width = Math.round(window.innerWidth * ratio), height = Math.round(window.innerHeight * ratio);
    if (width === this.width && height === this.height) return;
    this.fit();
    Module._mirobel_resize(this.width, this.height);
  },

  // A saver ends on any input: here it leaves full screen. Outside full
  // screen a click enters it, so that the page can be started as a saver.
  listenAsSaver() {
    const leave = () => {
      if (!document.fullscreenElement) return false;
      document.exitFullscreen().catch(() => {});
      return true;
    };
    for (const name of ['keydown', 'wheel', 'touchstart']) window.addEventListener(name, leave);
    window.addEventListener('pointermove', (e) => { if (e.movementX || e.movementY) leave(); });
    window.addEventListener('pointerdown', () => {
      if (!leave()) document.documentElement.requestFullscreen().catch(() => {});
    });
  },

  describe() { return JSON.parse(Module.UTF8ToString(Module._mirobel_describe())); },
  record() { return Module.UTF8ToString(Module._mirobel_record()); },
};

Module.onRuntimeInitialized = () => {
  MirobelCanvas.list[0] = document.getElementById('show').getContext('2d', {alpha: false});
  MirobelPage.loadFaces().catch((e) => console.warn('the embedded faces did not load:', e)).then(() => {
    MirobelPage.start();
    window.addEventListener('resize', () => MirobelPage.resized());
    if (Module._mirobel_saver()) MirobelPage.listenAsSaver();
  });
};
