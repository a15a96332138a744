// The page's side of the web front end: it makes and changes the elements as
// the game's front end (WebFrontEnd.cpp) asks, and hands the page's events
// to it. What the page does with a key, and whether a click or typing
// reaches a control, is the forms layer's to say.
'use strict';

const VK = { Tab: 9, Enter: 13, ' ': 32, Escape: 27, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40 };
const ARROWS = [37, 38, 39, 40];
const hex = (rgb) => '#' + rgb.toString(16).padStart(6, '0');

class Page {
  constructor() {
    this.holder = document.getElementById('window');
    this.formElement = document.getElementById('form');
    this.box = document.getElementById('box');
    this.elements = new Map();  // control id -> element
    this.fields = new Map();    // control id -> { canvas, ctx, source, sourceCtx, sprites }
    this.timeouts = [];
    this.armed = [];            // whether each timer wants to wake
    this.scale = 1;             // device pixels per game pixel
    this.labelFor = [];         // [label element, id of the control it captions]
  }

  // Liberation Sans stands in for the form's font, at its size.
  form(width, height, back, fore, fontPixels) {
    this.width = width;
    this.height = height;
    Object.assign(this.formElement.style, {
      width: width + 'px', height: height + 'px', backgroundColor: hex(back), color: hex(fore), fontSize: fontPixels + 'px',
    });
    this.layout();
  }

  add(id, kind, name, accessibleName, labelFor, tabIndex) {
    let element;
    if (kind === 0) {  // a picture box of the form: the play field
      element = document.createElement('div');
      element.setAttribute('role', 'group');
      const canvas = document.createElement('canvas');
      canvas.setAttribute('aria-hidden', 'true');
      const source = document.createElement('canvas');
      element.append(canvas);
      this.fields.set(id, { canvas, ctx: null, source, sourceCtx: null, sprites: new Map() });
    } else if (kind === 1) {
      // A label that captions a text box is its <label>; one that captions
      // another label names it.
      const target = labelFor >= 0 ? this.elements.get(labelFor) : null;
      element = document.createElement(target === undefined || target === null ? 'span' : 'label');
      element.className = 'label';
    } else if (kind === 2) {
      element = document.createElement('input');
      element.type = 'text';
      element.autocomplete = 'off';
      element.spellcheck = false;
      element.inputMode = 'decimal';  // a number keypad on a phone; any text can still be typed
      element.addEventListener('input', () => Module.ccall('vantor_type', null, ['number', 'string'], [id, element.value]));
    } else {
      element = document.createElement('button');
      element.type = 'button';
      element.addEventListener('click', () => Module._vantor_click(id));
    }
    element.id = 'c-' + name;
    element.dataset.control = id;
    element.dataset.tab = tabIndex;
    if (accessibleName) element.setAttribute('aria-label', accessibleName);
    this.elements.set(id, element);
    if (labelFor >= 0) this.labelFor.push([element, labelFor]);
    // The document holds the controls in tab order, as a screen reader reads
    // them; where two overlap, the later in the form's list shows.
    element.style.zIndex = String(id);
    const after = [...this.formElement.children].find((e) => Number(e.dataset.tab) > tabIndex);
    this.formElement.insertBefore(element, after || null);
    this.tieCaptions();
  }

  // Captions find their controls whichever was made first.
  tieCaptions() {
    for (const [label, forId] of this.labelFor) {
      const target = this.elements.get(forId);
      if (!target) continue;
      if (target.tagName === 'INPUT') {
        label.htmlFor = target.id;
      } else {
        target.setAttribute('aria-labelledby', label.id);
        target.setAttribute('role', 'status');  // a screen reader reads it out as it changes
      }
    }
  }

  title(caption) { document.title = caption; }

  text(id, text) {
    const element = this.elements.get(id);
    element[element.tagName === 'INPUT' ? 'value' : 'textContent'] = text;
  }

  colours(id, back, fore) {
    Object.assign(this.elements.get(id).style, { backgroundColor: hex(back), color: hex(fore) });
  }

  place(id, x, y, width, height) {
    const element = this.elements.get(id);
    Object.assign(element.style, { left: x + 'px', top: y + 'px', width: width + 'px', height: height + 'px' });
    const field = this.fields.get(id);
    if (field) {
      field.source.width = width;
      field.source.height = height;
      field.sourceCtx = field.source.getContext('2d');
      field.canvas.style.width = width + 'px';
      field.canvas.style.height = height + 'px';
      this.sizeCanvas(field);
    }
  }

  visible(id, visible) { this.elements.get(id).hidden = !visible; }

  enabled(id, enabled) {
    const element = this.elements.get(id);
    if (element.tagName === 'INPUT' || element.tagName === 'BUTTON') element.disabled = !enabled;
  }

  focus(id, selectText) {
    const element = id >= 0 ? this.elements.get(id) : document.activeElement;
    if (id < 0) {
      if (this.formElement.contains(element)) element.blur();
      return;
    }
    element.focus({ preventScroll: true });
    if (selectText) element.select();
  }

  // The raster's pixels are 0xAARRGGBB words; a canvas wants R, G, B, A bytes.
  paint(id, heap, pointer, stride, x, y, width, height) {
    const field = this.fields.get(id);
    const image = field.sourceCtx.createImageData(width, height);
    const from = new Uint32Array(heap.buffer, pointer, (height - 1) * stride + width);
    const to = new Uint32Array(image.data.buffer);
    for (let row = 0; row < height; ++row) {
      for (let column = 0; column < width; ++column) {
        const p = from[row * stride + column];
        to[row * width + column] = (0xFF000000 | (p & 0xFF) << 16 | (p & 0xFF00) | (p >>> 16 & 0xFF)) >>> 0;
      }
    }
    field.sourceCtx.putImageData(image, x, y);
    this.blit(field, x, y, width, height);
  }

  blit(field, x, y, width, height) {
    const k = this.scale;
    field.ctx.imageSmoothingEnabled = false;
    field.ctx.drawImage(field.source, x, y, width, height, x * k, y * k, width * k, height * k);
  }

  sizeCanvas(field) {
    field.canvas.width = field.source.width * this.scale;
    field.canvas.height = field.source.height * this.scale;
    field.ctx = field.canvas.getContext('2d');
    if (field.source.width > 0) this.blit(field, 0, 0, field.source.width, field.source.height);
  }

  // A named box inside the field, for screen readers: where it shows, or
  // gone while it does not.
  sprite(id, index, name, x, y, width, height) {
    const field = this.fields.get(id);
    let node = field.sprites.get(index);
    if (!node) {
      node = document.createElement('div');
      node.className = 'sprite';
      node.setAttribute('role', 'img');
      node.setAttribute('aria-label', name);
      field.sprites.set(index, node);
      this.elements.get(id).append(node);
    }
    node.hidden = width <= 0 || height <= 0;
    Object.assign(node.style, { left: x + 'px', top: y + 'px', width: width + 'px', height: height + 'px' });
  }

  // Timers wake by timeouts, in whole milliseconds. A hidden page is a
  // stalled program: its timers sleep, and when it shows again each wakes at
  // once, late, as after any stall.
  wakeTimer(timer, delay) {
    clearTimeout(this.timeouts[timer]);
    this.armed[timer] = delay >= 0;
    if (this.armed[timer] && !document.hidden)
      this.timeouts[timer] = setTimeout(() => Module._vantor_timer_woke(timer), delay);
  }

  pageShown() { this.armed.forEach((armed, timer) => armed && this.wakeTimer(timer, 0)); }

  pageHidden() { this.timeouts.forEach((t) => clearTimeout(t)); }

  // The message box: the handler that opened it waits until it closes.
  dialog(caption, prompt) {
    document.getElementById('box-caption').textContent = caption;
    document.getElementById('box-prompt').textContent = prompt;
    this.box.showModal();
    document.getElementById('box-ok').focus();
    return new Promise((resolve) => this.box.addEventListener('close', () => resolve(), { once: true }));
  }

  // Device pixels per game pixel: the forms layer's whole-number scale for
  // the ratio and the page's width.
  layout() {
    if (!this.width) return;
    const ratio = window.devicePixelRatio || 1;
    const room = document.documentElement.clientWidth;
    const k = Module._vantor_whole_scale(ratio, this.width, room);
    const zoom = k / ratio;
    // Whole CSS pixels, and whole device pixels where the ratio is a fraction.
    const snap = (css) => Math.max(0, Math.floor(Math.floor(css) * ratio) / ratio);
    this.formElement.style.transform = zoom === 1 ? '' : `scale(${zoom})`;
    this.holder.style.width = this.width * zoom + 'px';
    this.holder.style.height = this.height * zoom + 'px';
    this.holder.style.left = snap((room - this.width * zoom) / 2) + 'px';
    const touch = document.getElementById('touch');
    const below = touch.offsetHeight ? touch.offsetHeight + 32 : 0;
    this.holder.style.marginTop = Math.max(16, snap((window.innerHeight - this.height * zoom - below) / 2)) + 'px';
    if (k !== this.scale) {
      this.scale = k;
      this.fields.forEach((field) => this.sizeCanvas(field));
    }
  }
}

// Keys go to the game's keyboard, which says what the page does with each
// next: lets it be, stops it, or closes the dialog. Left be, the arrows still
// never scroll the page.
const LET_BE = 0, CLOSE_BOX = 2;
function onKey(event, down) {
  const vk = VK[event.key];
  if (vk === undefined || event.isComposing) return;
  const outcome = Module._vantor_key(vk, down, event.repeat, event.shiftKey, event.timeStamp);
  if (outcome !== LET_BE || (ARROWS.includes(vk) && event.target.tagName !== 'INPUT')) event.preventDefault();
  if (outcome !== LET_BE) event.stopPropagation();
  if (outcome === CLOSE_BOX) page.box.close();
}

// On-screen keys for a touch screen: each is held while a finger stays on it.
function touchKeys() {
  for (const button of document.querySelectorAll('#touch button')) {
    const vk = Number(button.dataset.vk);
    const release = (event) => {
      if (!button.classList.contains('held')) return;
      button.classList.remove('held');
      Module._vantor_key(vk, false, false, false, event.timeStamp);
    };
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      button.setPointerCapture(event.pointerId);
      button.classList.add('held');
      Module._vantor_key(vk, true, false, false, event.timeStamp);
    });
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) button.addEventListener(type, release);
    button.addEventListener('contextmenu', (event) => event.preventDefault());
  }
}

const page = new Page();
var Module = {
  page,
  printErr: (text) => console.error(text),
  onRuntimeInitialized() {
    addEventListener('keydown', (event) => onKey(event, true), true);
    addEventListener('keyup', (event) => onKey(event, false), true);
    addEventListener('blur', () => Module._vantor_keyboard_lost());
    // Where the keyboard goes among the form's controls, or off them.
    page.formElement.addEventListener('focusin', (event) => {
      if (event.target.dataset.control) Module._vantor_focus_moved(Number(event.target.dataset.control));
    });
    page.formElement.addEventListener('focusout', (event) => {
      if (!page.formElement.contains(event.relatedTarget)) Module._vantor_focus_moved(-1);
    });
    document.addEventListener('visibilitychange', () => {
      if (document.hidden) {
        Module._vantor_keyboard_lost();
        page.pageHidden();
      } else {
        page.pageShown();
      }
    });
    page.box.addEventListener('cancel', (event) => event.preventDefault());
    document.getElementById('box-ok').addEventListener('click', () => page.box.close());
    touchKeys();
  },
};
addEventListener('resize', () => page.layout());
// A window moved to a screen of another pixel ratio lays the page out again.
(function followRatio() {
  matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
    page.layout();
    followRatio();
  }, { once: true });
})();
if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
