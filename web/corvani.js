// The page: places the controls written from the module's table, shows them as the bench sets
// them, copies the surface's changed pixels to the canvas, and passes the user's clicks, taps and
// keys on to the bench. What the bench does lives in the module; the page shows it, keeps the
// keyboard's focus where the desktop keeps it, and tells screen readers what changed.
'use strict';

(() => {
  const PUNTS = 96 / 72; // CSS pixels to a point

  // Full screen: F11 where the browser leaves it to the page, and the desktop toolkit's other
  // keys for it, Ctrl+F11 and Alt+Enter.
  function esPantallaCompleta(event) {
    if (event.shiftKey || event.metaKey) return false;
    if (event.key === 'F11') return !event.altKey;
    return event.key === 'Enter' && event.altKey && !event.ctrlKey;
  }

  // The measures the style sheet gives the script too, from its rule for the root: read from the
  // rule, they need no style computed before the page's first frame.
  function mesuresDelFull() {
    for (const full of document.styleSheets) {
      for (const regla of full.cssRules) if (regla.selectorText === ':root') return regla.style;
    }
    return null;
  }

  // Rectangles [left, top, right, bottom] in the layer's device pixels.
  const tallen = (a, b) => a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
  const dins = (a, b) => a[0] >= b[0] && a[1] >= b[1] && a[2] <= b[2] && a[3] <= b[3];

  // Where a pointer reaches a control whose face is less than `mida` across or down: the face grown
  // along each short axis, evenly on both sides where both have room within `lloc`, else all on the
  // side that has; an axis with room on neither side stays as it is. Room is what the others given
  // leave: one reaching into the room gained from across its side narrows it, as far as the face
  // is wide or `mida`, whichever is less.
  function zona(cara, mida, altres, lloc) {
    let r = [...cara];
    for (const eix of [0, 1]) {
      const falta = mida - (r[eix + 2] - r[eix]);
      if (falta <= 0) continue;
      const c = 1 - eix; // across the axis
      const ample = Math.min(mida, r[c + 2] - r[c]);
      for (const abans of [Math.floor(falta / 2), 0, falta]) {
        const g = [...r];
        g[eix] -= abans;
        g[eix + 2] += falta - abans;
        const guanyat = (o) => [[g[eix], r[eix]], [r[eix + 2], g[eix + 2]]].some(([a, b]) => {
          const franja = [...g];
          [franja[eix], franja[eix + 2]] = [a, b];
          return a < b && tallen(franja, o);
        });
        let cap = dins(g, lloc);
        for (const o of altres) {
          if (!cap || !guanyat(o)) continue;
          if (o[c] <= g[c]) g[c] = o[c + 2];
          else if (o[c + 2] >= g[c + 2]) g[c + 2] = o[c];
          else cap = false;
        }
        if (cap && g[c + 2] - g[c] >= ample) {
          r = g;
          break;
        }
      }
    }
    return r;
  }

  // The bench's magnifications over its fit to the window, which Ctrl and + or − step through.
  const LUPES = [1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4];

  // A step of magnification a key asks for: 1 larger, -1 smaller, 0 back to the fit, or null.
  // Ctrl as the browsers take their zoom's keys, and Command on Apple's machines.
  const APPLE = /^(Mac|iP)/.test(navigator.platform);
  function pasDeLupa(event) {
    if (!(event.ctrlKey || (APPLE && event.metaKey)) || event.altKey) return null;
    if (event.key === '+' || event.key === '=' || event.code === 'NumpadAdd') return 1;
    if (event.key === '-' || event.key === '_' || event.code === 'NumpadSubtract') return -1;
    if (event.key === '0' || event.code === 'Numpad0') return 0;
    return null;
  }

  // The keys that scroll the magnified bench where the focus does not take them, as the
  // browsers scroll a page: the arrows by a step, the pages by most of the viewport, the ends.
  const DESPLACAMENTS = {
    ArrowLeft: (pas) => [-pas, 0], ArrowRight: (pas) => [pas, 0], ArrowUp: (pas) => [0, -pas], ArrowDown: (pas) => [0, pas],
    PageUp: (pas, pagina) => [0, -pagina], PageDown: (pas, pagina) => [0, pagina],
    Home: () => [0, -Infinity], End: () => [0, Infinity],
  };

  // The direction bar's keys, as the desktop's scroll bar takes them: towards 0 (the top) or 1.
  const BARRA_AMUNT = new Set(['ArrowUp', 'ArrowLeft', 'PageUp', 'Home']);
  const BARRA_AVALL = new Set(['ArrowDown', 'ArrowRight', 'PageDown', 'End']);

  class Pagina {
    constructor(M) {
      this.M = M;
      this.escala = 1;
      this.lupa = 1; // the bench's magnification, one of LUPES
      this.desplacament = [0, 0]; // the client area's scroll offset in CSS pixels, as last set or seen
      this.rodat = 0; // Ctrl and the wheel's travel towards the next step
      this.ocupat = false; // a handler is running, or waits for its message box to close
      this.acabat = false;
      this.llest = false; // the first frame has been shown, and what waited for it done
      this.canviPantalla = null; // the last change of full screen asked for, until it has settled
      this.pantallaVolguda = false;
      this.taula = TAULA;
      this.client = document.getElementById('client');
      this.capa = document.getElementById('capa'); // the controls, in device pixels
      this.canvas = document.getElementById('llenc');
      this.tires = new Map(); // the tiles' strips, by band and column; none for a tile still black
      this.zones = new Set(); // every control's zone (posaZones), shown or not
      this.avis = document.getElementById('avis');
      document.title = this.taula.titol;
      this.canvas.setAttribute('aria-label', this.taula.banc);
      this.creaMissatge();
      this.menus = new BarraMenus(document.getElementById('menus'), this.taula.menus, {
        tria: (entrada) => this.tria(entrada),
        pot: () => !this.ocupat && !this.acabat,
      });
      // The menu bar is shown once it has its menus: without the script, or where the module
      // cannot run, the page shows only the sentence saying what it needs.
      document.getElementById('barra').hidden = false;
      const perNom = new Map([...this.capa.children].map((element) => [element.dataset.control, element]));
      this.elements = this.taula.controls.map((row, i) => this.adopta(row, i, perNom));
      // The focus starts where the desktop's does, given as the page is first drawn where nothing
      // has taken it by then; a page in a frame, another site's learning platform for one, leaves
      // the focus where the site has it. Not by the autofocus attribute: WebKit acts on it as much
      // as seconds later, taking the focus from wherever the keyboard has moved it meanwhile.
      if (window.top === window) {
        const primer = this.elements[this.taula.focus];
        requestAnimationFrame(() => {
          if (!document.activeElement || document.activeElement === document.body) primer.focus({ preventScroll: true });
        });
      }
      // From the bottom of the stack up, as the desktop creates them: the Tab order is the desktop's.
      const pila = this.elements.filter((element) => element).reverse();
      this.ordre = pila.filter((element) => element.tabIndex >= 0);
      M._corvani_inicia();
      this.elements.forEach((_, i) => this.canvi(i));
      const mesures = mesuresDelFull();
      this.menusAltura = parseFloat(mesures.getPropertyValue('--menus'));
      this.lletra = mesures.getPropertyValue('--lletra').trim();
      // What the style leaves a caption on either side of a face, in CSS pixels.
      this.vores = {
        grafic: 2 * parseFloat(mesures.getPropertyValue('--vora-grafic')),
        sistema: 2 * parseFloat(mesures.getPropertyValue('--vora-sistema')),
      };
      this.disposa();
      // The controls, read with the page and left out of its layout until now, are shown where
      // they belong, with the direction bar's zones below them all.
      this.capa.prepend(...pila.flatMap((element) => element.zones || []));
      this.capa.dataset.disposat = '';
      window.addEventListener('resize', () => this.disposa());
      window.addEventListener('beforeprint', () => this.perImprimir());
      window.addEventListener('afterprint', () => this.perImpres());
      document.addEventListener('keydown', (event) => this.tecla(event), true);
      this.segueixLupa();
      this.client.addEventListener('contextmenu', (event) => event.preventDefault());
      this.segueixRelacio();
      // What the first frame shows is done; what it does not show (the pointer's zones, the menus'
      // items, the shapes for screen readers) waits until the browser says it has shown that
      // frame, so as not to take the processor from drawing it, and then the page is ready for
      // use. Where the browser reports no paints, it waits until that frame has begun; where it
      // reports paints but not this one, half a second more.
      performance.mark('llest');
      const despres = () => {
        if (this.llest) return;
        this.llest = true;
        if (this.zonesVelles) this.posaZones();
        this.menus.completa();
        this.descriu();
        document.body.dataset.llest = '';
      };
      const pintures = typeof PerformanceObserver === 'function' &&
        (PerformanceObserver.supportedEntryTypes || []).includes('paint');
      if (document.hidden) setTimeout(despres);
      else requestAnimationFrame(() => setTimeout(despres, pintures ? 500 : 0));
      if (pintures) {
        new PerformanceObserver((llista, observador) => {
          if (llista.getEntriesByName('first-contentful-paint').length === 0) return;
          observador.disconnect();
          despres();
        }).observe({ type: 'paint', buffered: true });
      }
    }

    json(pointer) {
      return JSON.parse(this.M.UTF8ToString(pointer));
    }

    // An action of the user: none while another runs or a message box is open, none once ended.
    // The page's body is marked busy until the action has ended, its focus included.
    async actua(accio) {
      if (this.ocupat || this.acabat) return;
      this.ocupat = true;
      document.body.dataset.ocupat = '';
      const focus = this.client.contains(document.activeElement) ? document.activeElement : null;
      try {
        await accio();
      } finally {
        this.ocupat = false;
        if (!this.acabat) {
          if (this.redisposa) {
            this.redisposa = false;
            this.disposa();
          } else {
            this.mouFinestra();
          }
          if (this.zonesVelles) this.posaZones();
          this.pinta();
          this.descriu();
          this.anuncia();
          // Moving the focus needs the page laid out: done as the next frame begins, which lays
          // it out anyway, rather than at once and again for the frame.
          requestAnimationFrame(() => {
            if (this.ocupat) return;
            this.mantenFocus(focus);
            delete document.body.dataset.ocupat;
          });
        }
      }
    }

    tria(entrada) {
      if (entrada.id === this.taula.sortir) this.acaba();
      else this.actua(() => this.M.ccall('corvani_tria', 'number', ['number'], [entrada.id], { async: true }));
    }

    // A control that has greyed or hidden itself under the focus passes it on to the next in the
    // Tab order, as the desktop's do, so that the keyboard is not lost; one that a closed message
    // box has not given it back to takes it again.
    mantenFocus(abans) {
      if (!abans) return;
      const usable = (element) => !element.hidden && !element.disabled;
      if (usable(abans)) {
        if (!document.activeElement || document.activeElement === document.body) abans.focus({ preventScroll: true });
        return;
      }
      const at = this.ordre.indexOf(abans);
      for (let k = 1; k <= this.ordre.length; ++k) {
        const seguent = this.ordre[(at + k) % this.ordre.length];
        if (usable(seguent)) {
          seguent.focus({ preventScroll: true });
          return;
        }
      }
    }

    // Keys for the whole page. Within a message box only the box's own: Enter and Escape close it.
    tecla(event) {
      if (this.acabat) return;
      if (event.key === 'Enter' && event.repeat) {
        // A held Enter presses once, and does not close the box its press opened.
        event.preventDefault();
        return;
      }
      const pas = pasDeLupa(event);
      if (pas !== null) {
        if (this.amplia(pas)) event.preventDefault();
        return;
      }
      if (this.dialog.open) {
        // The box's one button keeps the focus, as on the desktop: Tab has nowhere else to take it
        // but out of the page, from where Enter would no longer close the box.
        if (nomTecla(event) === 'Tab') event.preventDefault();
        return;
      }
      if (esPantallaCompleta(event)) {
        event.preventDefault();
        this.commutaPantallaCompleta();
        return;
      }
      // Escape leaves full screen, where the browser leaves the key to the page; an open menu
      // takes it first.
      if (event.key === 'Escape' && this.enPantallaCompleta() && !this.menus.obert()) {
        event.preventDefault();
        this.posaPantallaCompleta(false);
        return;
      }
      if (!this.ocupat && this.menus.tecla(event)) {
        event.preventDefault();
        event.stopPropagation();
      }
    }

    // The Fullscreen API, for the projector; the bench scales to the screen as the page resizes.
    // Where the browser refuses (no permission, no key press it counts), nothing changes.
    // Each change waits for the one before it, since the browser takes a moment to enter or leave:
    // F11 and then Escape typed quickly leave the page as it was. While a change is on its way the
    // body carries data-pantalla.
    commutaPantallaCompleta() {
      this.posaPantallaCompleta(!this.enPantallaCompleta());
    }

    // Full screen as the keys typed so far leave it.
    enPantallaCompleta() {
      return this.canviPantalla ? this.pantallaVolguda : Boolean(document.fullscreenElement);
    }

    posaPantallaCompleta(vol) {
      this.pantallaVolguda = vol;
      document.body.dataset.pantalla = '';
      const canvi = (this.canviPantalla || Promise.resolve())
        .then(() => {
          if (Boolean(document.fullscreenElement) === vol) return undefined;
          return vol
            ? document.documentElement.requestFullscreen({ navigationUI: 'hide' })
            : document.exitFullscreen();
        })
        .catch(() => {})
        .then(() => {
          if (this.canviPantalla !== canvi) return;
          this.canviPantalla = null;
          delete document.body.dataset.pantalla;
        });
      this.canviPantalla = canvi;
    }

    // While a box is open its button keeps the focus, whatever is clicked or tapped, so that Enter
    // and Space close it as on the desktop: a press elsewhere that takes it away gives it back.
    creaMissatge() {
      this.dialog = document.getElementById('missatge');
      const acord = document.getElementById('missatge-acord');
      document.getElementById('missatge-titol').textContent = this.taula.programa;
      acord.textContent = this.taula.acord;
      this.dialog.addEventListener('focusout', () => setTimeout(() => {
        if (this.dialog.open && document.activeElement !== acord) acord.focus();
      }));
    }

    // Called by the module while a handler runs: what the bench shows so far is painted, then the
    // handler waits until the box is closed, by its button, Enter or Escape.
    missatge(text) {
      this.pinta();
      this.descriu();
      document.getElementById('missatge-text').textContent = text;
      return new Promise((resolve) => {
        this.dialog.addEventListener('close', () => resolve(), { once: true });
        this.dialog.showModal();
        document.getElementById('missatge-acord').focus();
      });
    }

    // The control's element, which the page's markup holds from the table, given its handlers;
    // none for a shape, which the canvas shows.
    adopta(row, i, perNom) {
      if (row.kind === 'Shape') return null;
      const nom = row.index >= 0 ? `${row.nom}(${row.index})` : row.nom;
      const element = perNom.get(nom);
      if (!element) throw new Error(`the page was built without the control ${nom}`);
      switch (row.kind) {
        case 'GraphicalButton':
        case 'Button':
          element.addEventListener('click', () =>
            this.actua(() => this.M.ccall('corvani_click', 'number', ['number'], [i], { async: true })));
          element.text = element.firstElementChild;
          break;
        case 'ScrollBar':
          this.muntaBarra(element);
          break;
        case 'Frame':
          element.text = element.querySelector('legend > span');
          break;
        case 'Label':
          element.text = element.firstElementChild;
          break;
        default:
          break; // a picture, which takes no handler of its own
      }
      if (row.picture) element.imatge = IMATGES[row.picture];
      // What the markup shows of the table, which canvi need not write again.
      element.estat = { visible: row.visible, caption: row.caption, back: row.back };
      return element;
    }

    // The direction bar: arrows at both ends and a thumb, at the top for 0 and at the bottom for 1.
    // A press on an arrow or on the track moves it at once; the thumb is dragged by mouse or finger;
    // the arrow keys move it.
    muntaBarra(barra) {
      const [amunt, guia, avall] = barra.children;
      const polze = guia.firstElementChild;
      barra.parts = [amunt, guia, avall];
      const valor = () => Number(barra.getAttribute('aria-valuenow'));
      const posa = (v) => {
        if (v !== valor()) this.actua(() => this.M._corvani_barra(v));
      };
      // On the track: a page towards the pointer; the thumb dragged past the middle moves it there.
      const capA = (event) => {
        const r = guia.getBoundingClientRect();
        return event.clientY - r.top < r.height / 2 ? 0 : 1;
      };
      const accions = [() => posa(0), (event) => posa(capA(event)), () => posa(1)];
      amunt.addEventListener('pointerdown', accions[0]);
      avall.addEventListener('pointerdown', accions[2]);
      // The bar's border is the part's beside it, as a desktop scroll bar's parts fill it.
      barra.addEventListener('pointerdown', (event) => {
        if (event.target !== barra) return;
        const k = barra.parts.findIndex((part) => event.clientY < part.getBoundingClientRect().bottom);
        accions[k < 0 ? 2 : k](event);
      });
      // Each part's zone (posaZones) lies in the layer below every control, and does what its part
      // does, the focus going to the bar as a press on the bar gives it to it: within the bar, or
      // stacked with it, an element reaching beyond the bar changes how the browser paints the
      // bar's gradients.
      barra.zones = barra.parts.map((part, k) => {
        part.zona = document.createElement('div');
        part.zona.className = 'zona';
        part.zona.hidden = true;
        this.zones.add(part.zona);
        part.zona.addEventListener('pointerdown', (event) => {
          event.preventDefault();
          barra.focus({ preventScroll: true });
          accions[k](event);
        });
        return part.zona;
      });
      guia.addEventListener('pointerdown', (event) => {
        if (event.target === polze) {
          guia.setPointerCapture(event.pointerId);
          return;
        }
        posa(capA(event));
      });
      guia.addEventListener('pointermove', (event) => {
        if (guia.hasPointerCapture(event.pointerId)) posa(capA(event));
      });
      barra.addEventListener('keydown', (event) => {
        if (event.altKey || event.ctrlKey || event.metaKey) return;
        if (BARRA_AMUNT.has(event.key)) posa(0);
        else if (BARRA_AVALL.has(event.key)) posa(1);
        else return;
        event.preventDefault();
      });
    }

    // Shows one control as the bench describes it now. Only what differs from what it shows is
    // written, as every write makes the browser work out the control's style again.
    canvi(i) {
      const element = this.elements[i];
      if (!element) return;
      const row = this.taula.controls[i];
      const estat = this.json(this.M._corvani_estat(i));
      const abans = element.estat || {};
      element.estat = estat;
      // A control shown or hidden, enabled or disabled, moves the zones (posaZones); nothing else does.
      if (estat.visible !== abans.visible) {
        element.hidden = !estat.visible;
        this.zonesVelles = true;
      }
      if (element.tagName === 'BUTTON') {
        if (estat.enabled !== abans.enabled) {
          element.disabled = !estat.enabled;
          this.zonesVelles = true;
        }
        // The name first, so that the caption's change already carries the new name.
        if (estat.name !== abans.name) {
          if (estat.name === estat.caption) element.removeAttribute('aria-label');
          else element.setAttribute('aria-label', estat.name);
        }
        if (estat.caption !== abans.caption) {
          element.text.textContent = estat.caption;
          if (this.disposat) this.ajustaText([element]);
        }
        if (row.back !== null && estat.back !== abans.back) element.style.backgroundColor = cssColor(estat.back);
      }
      if (row.kind === 'ScrollBar' && estat.value !== abans.value) {
        element.setAttribute('aria-valuenow', String(estat.value));
        element.setAttribute('aria-valuetext', this.taula.direccio[estat.value]);
      }
    }

    // What a screen reader finds: the light at the eye, and the shapes the canvas shows.
    descriu() {
      const text = this.M.UTF8ToString(this.M._corvani_descripcio());
      if (text !== this.descrit) {
        this.descrit = text;
        const d = JSON.parse(text);
        this.elements[this.taula.ull].setAttribute('aria-description', d.ull);
        document.getElementById('formes').replaceChildren(...d.formes.map((nom) => {
          const li = document.createElement('li');
          li.textContent = nom;
          return li;
        }));
      }
    }

    // What the action changed, in the desktop's words, spoken politely once, wherever the focus
    // is: the light at the eye each time it changes, and the buttons, direction and shapes that
    // changed with it. The browser tells a screen reader of the focused control's own new name or
    // value; the eye's new light, which is a description, it does not.
    anuncia() {
      const focus = this.elements.indexOf(document.activeElement);
      const text = this.M.UTF8ToString(this.M._corvani_avis(focus === this.taula.ull ? -1 : focus));
      if (text) this.avis.textContent = text;
    }

    // The canvas in device pixels over the whole client area, the bench at the largest scale that
    // fits it, every control at its place at that scale. The area is the window's less the menu
    // bar, so nothing need be laid out to find it. Magnified, the canvas is the bench at that
    // many times the scale, which the client area scrolls over (posaDesplacament).
    disposa() {
      if (this.acabat) return;
      // While a handler waits for its message box the module must not be entered: the layout
      // waits for the handler's end.
      if (this.ocupat) {
        this.redisposa = true;
        return;
      }
      const ratio = window.devicePixelRatio || 1;
      const width = Math.max(1, Math.round(window.innerWidth * ratio));
      // The menu bar a whole number of device pixels high, and of the browser's layout units (1/64
      // of a CSS pixel), so that the bench's strips below it start on a device pixel's edge and
      // meet exactly: 24 CSS pixels at 125 %, where 22 would be 27.5 device pixels.
      const alt = Math.ceil(this.menusAltura * ratio - 1e-9);
      const exacte = Array.from({ length: 4 * Math.ceil(ratio) }, (_, k) => (alt + k) / ratio)
        .find((h) => sencer(h * 64));
      const menus = exacte ?? this.menusAltura;
      document.documentElement.style.setProperty('--menus', `${menus}px`);
      const height = Math.max(1, Math.round((window.innerHeight - menus) * ratio));
      const barra = this.lupa > 1 ? Math.ceil(this.gruixBarra() * ratio - 1e-9) : 0;
      const vista = this.json(this.M._corvani_vista(width, height, this.lupa, barra));
      this.canvas.width = vista.width;
      this.canvas.height = vista.height;
      this.canvas.style.width = `${vista.width / ratio}px`;
      this.canvas.style.height = `${vista.height / ratio}px`;
      this.creaTires(vista.width, vista.height, ratio);
      this.lletraMinima = lletraMinima();
      // The controls' layer in device pixels, every control at whole ones: the layer is scaled
      // back to CSS pixels, and the style's lengths within it are scaled up by the ratio.
      this.escala = vista.scale;
      this.rects = vista.rects;
      // Where the bench lies in the client area, its controls whole (the eye stands a little past
      // its right edge), in CSS pixels, for the printed page.
      const [l, t, r, b] = vista.rects.reduce(([l0, t0, r0, b0], [x, y, w, h]) =>
        [Math.min(l0, x), Math.min(t0, y), Math.max(r0, x + w), Math.max(b0, y + h)],
      [vista.x, vista.y, width - vista.x, height - vista.y]);
      const banc = { x: l, y: t, w: r - l, h: b - t };
      for (const [nom, px] of Object.entries(banc)) this.client.style.setProperty(`--banc-${nom}`, `${px / ratio}px`);
      this.capa.style.transform = `scale(${1 / ratio})`;
      // The layer spans the client area whatever it holds, as the browser paints a gradient a shade
      // differently as the extent of the layer that holds it changes; magnified, it spans the
      // bench's extent and clips what lies beyond it, as part of the eye does, so that the client
      // area does not scroll past the bench.
      this.extensio = this.lupa > 1 ? [vista.width, vista.height] : [width, height];
      Object.assign(this.capa.style, { width: `${this.extensio[0]}px`, height: `${this.extensio[1]}px` });
      this.capa.style.setProperty('--k', String(ratio));
      // Where the bench lies on the canvas, in device pixels: its corner, its scale, and the
      // pixels of a drawing unit across and down at scale 1.
      const [perUnitX, perUnitY] = this.taula.pixelsPerUnit;
      this.canvas.dataset.vista = [vista.x, vista.y, vista.scale, perUnitX, perUnitY].join(' ');
      this.taula.controls.forEach((row, i) => {
        const element = this.elements[i];
        if (!element) return;
        const [left, top, w, h] = vista.rects[i];
        Object.assign(element.style, { left: `${left}px`, top: `${top}px`, width: `${w}px`, height: `${h}px` });
        element.amplada = w;
        this.posaLletra(element, (row.kind === 'Label' ? 12 : 8) * PUNTS * this.escala);
        if (element.imatge) {
          const { width: w0, height: h0 } = element.imatge;
          element.style.backgroundSize = `${w0 * this.escala}px ${h0 * this.escala}px`;
          if (row.kind === 'PictureBox') {
            const vora = row.borderWidth;
            element.style.backgroundPosition = `${vora * this.escala}px ${vora * this.escala}px`;
          }
        }
        if (row.kind === 'ScrollBar') {
          for (const fletxa of element.querySelectorAll('.fletxa')) fletxa.style.height = `${w - 2}px`;
        }
      });
      this.ajustaText(this.elements.filter((element) => element && element.tagName === 'BUTTON'));
      this.disposat = true;
      this.posaDesplacament(vista, ratio);
      // The zones, which no one sees, wait for the first frame (despres).
      if (this.llest) this.posaZones();
      else this.zonesVelles = true;
      this.pinta();
    }

    // Where a pointer reaches each control that takes one: its face, and where the face is less than
    // 24 CSS pixels across or down, a zone (zona) around it as large, into room that no other
    // control shown takes, a disabled button's aside; its edges on whole device pixels, as the
    // faces' are. The zone is an element of the control's, so that a press on it is a press on the
    // control; it is placed in the layer (position: fixed, the layer being transformed), out of
    // reach of the control's clipping. Each of the direction bar's arrows and its track take the
    // pointer apart, so each is a target of its own.
    posaZones() {
      this.zonesVelles = false;
      const donades = new Set();
      const { ratio } = this.mida;
      const [width, height] = this.extensio; // the layer's, which zones stay within
      const mida = Math.ceil(24 * ratio - 1e-9);
      const dianes = []; // [element, face], the topmost first
      const presos = []; // the faces of the controls shown, enabled buttons only, and the zones given
      this.taula.controls.forEach((row, i) => {
        const element = this.elements[i];
        if (!element || element.hidden || row.kind === 'Frame' || element.disabled) return;
        const [l, t, w, h] = this.rects[i];
        if (row.kind !== 'ScrollBar') {
          presos.push([l, t, l + w, t + h]);
          if (element.tagName === 'BUTTON') dianes.push([element, presos.at(-1)]);
          return;
        }
        // Within the bar's border, the arrows w - 2 high, the track between them.
        const [x0, x1] = [Math.round(l + ratio), Math.round(l + w - ratio)];
        const ys = [t + ratio, t + ratio + w - 2, t + h - ratio - (w - 2), t + h - ratio].map(Math.round);
        element.parts.forEach((part, k) => {
          presos.push([x0, ys[k], x1, ys[k + 1]]);
          dianes.push([part, presos.at(-1)]);
        });
      });
      for (const [element, cara] of dianes) {
        const z = zona(cara, mida, presos.filter((r) => r !== cara), [0, 0, width, height]);
        if (z[0] < cara[0] || z[1] < cara[1] || z[2] > cara[2] || z[3] > cara[3]) {
          presos.push(z);
          this.posaZona(element, z);
          donades.add(element.zona);
        }
      }
      for (const zona of this.zones) {
        if (zona.hidden === donades.has(zona)) zona.hidden = !zona.hidden;
      }
    }

    posaZona(element, z) {
      if (!element.zona) {
        element.zona = document.createElement('span');
        element.zona.className = 'zona';
        element.append(element.zona);
        this.zones.add(element.zona);
      }
      const clau = z.join(' ');
      if (element.zona.dataset.rect === clau) return;
      element.zona.dataset.rect = clau;
      Object.assign(element.zona.style, {
        left: `${z[0]}px`, top: `${z[1]}px`, width: `${z[2] - z[0]}px`, height: `${z[3] - z[1]}px`,
      });
    }

    // A caption whose longest word does not fit its face is made smaller, half a point at a time,
    // down to 6 points, as on the desktop. The words are measured on a canvas of the page's own, so
    // that nothing of the page need be laid out to fit them.
    ajustaText(botons) {
      const mida = (punts) => punts * PUNTS * this.escala;
      // A canvas element, never shown: Chromium takes a third longer to measure the first words on
      // an offscreen canvas, which sets up fonts of its own.
      if (!this.mesura) this.mesura = document.createElement('canvas').getContext('2d');
      // Size by size, every button still too narrow for its words at the last: the measuring
      // font is set once a size, as setting it costs more than measuring a word.
      let pendents = botons.map((boto) => {
        boto.cara = boto.amplada - this.mida.ratio * (boto.classList.contains('sistema') ? this.vores.sistema : this.vores.grafic);
        return { boto, paraules: boto.textContent.split(/\s+/).filter((p) => p) };
      });
      for (let punts = 8; pendents.length > 0; punts -= 0.5) {
        this.mesura.font = `${mida(punts)}px ${this.lletra}`;
        pendents = pendents.filter(({ boto, paraules }) => {
          if (punts > 6 && paraules.some((p) => this.mesura.measureText(p).width > boto.cara)) return true;
          this.posaLletra(boto, mida(punts));
          return false;
        });
      }
    }

    // A control's text at a size in the layer's pixels, which the style's lengths scaled with the
    // text read as --mida. Where the browser keeps text at a minimum size above it (a setting for
    // low vision), the text is set at that minimum and scaled down to the size, wrapped where it
    // would wrap at the size: the bench is a picture that keeps its proportions, and a caption
    // larger than its face would be cut off.
    posaLletra(element, px) {
      element.style.fontSize = `${px}px`;
      element.style.setProperty('--mida', `${px}px`);
      const text = element.text;
      if (!text) return;
      if (px >= this.lletraMinima) {
        if (text.style.length) text.removeAttribute('style');
        return;
      }
      const k = this.lletraMinima / px;
      Object.assign(text.style, { fontSize: `${this.lletraMinima}px`, transform: `scale(${1 / k})` });
      // A button's caption is centred on its face, as wide as its words allow at most.
      if (element.cara !== undefined) Object.assign(text.style, { flex: 'none', minWidth: 'min-content', maxWidth: `${element.cara * k}px` });
    }

    // The window moved to a screen of another device pixel ratio, or the page was zoomed.
    segueixRelacio() {
      const consulta = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
      consulta.addEventListener('change', () => {
        this.disposa();
        this.segueixRelacio();
      }, { once: true });
    }

    // The bench's pixels, in strips one canvas a band (tires.js): one canvas would be 19 MB a frame
    // at ratio 3 on a full-HD screen; most bands of the bench stay black, and a click changes a
    // few. The client area is black, as is a canvas given a size: a band gets its canvas when
    // something is first painted on it, as every canvas costs the browser's first frame about a
    // millisecond, and most of the bench is black. A band too wide for its bytes is cut across
    // into tiles (ampleTires). Magnified, the bench is far larger than the screen: a band is cut
    // across into tiles eight bands wide, and only the tiles near the viewport are kept
    // (mouFinestra).
    creaTires(width, height, ratio) {
      if (this.lupa > 1) {
        const altura = alturaTires(8 * Math.round(40 * ratio), height, ratio);
        this.alturaTira = altura === height ? 64 : altura;
        this.ampleTira = Math.min(width, 8 * this.alturaTira);
      } else {
        [this.alturaTira, this.ampleTira] = ampleTires(width, height, ratio);
      }
      this.columnes = Math.ceil(width / this.ampleTira);
      this.tires.clear();
      this.mida = { width, height, ratio };
      this.finestra = [0, 0, width, height];
      document.getElementById('tires').replaceChildren();
    }

    // The tile's strip, made the first time it is painted on.
    tira(t, c) {
      const clau = t * this.columnes + c;
      const feta = this.tires.get(clau);
      if (feta) return feta;
      const { width, height, ratio } = this.mida;
      const top = t * this.alturaTira, left = c * this.ampleTira;
      const canvas = document.createElement('canvas');
      canvas.width = Math.min(this.ampleTira, width - left);
      canvas.height = Math.min(this.alturaTira, height - top);
      Object.assign(canvas.style, {
        top: `${top / ratio}px`, width: `${canvas.width / ratio}px`, height: `${canvas.height / ratio}px`,
      });
      if (left) canvas.style.left = `${left / ratio}px`;
      canvas.dataset.top = top;
      canvas.dataset.left = left;
      document.getElementById('tires').append(canvas);
      const tira = novaTira(canvas);
      this.tires.set(clau, tira);
      return tira;
    }

    // Copies to the tiles the rectangles of the surface that changed, whose pixels the module
    // gives one rectangle after another; each tile takes the part of a rectangle that is its own,
    // and is shown once it has taken them all if they changed it: the others are left as shown.
    pinta() {
      const M = this.M;
      const count = M._corvani_pinta();
      if (count === 0) return;
      const rects = new Int32Array(M.HEAP32.buffer, M._corvani_rectangles(), count * 4).slice();
      let at = M._corvani_pixels();
      const H = this.alturaTira, W = this.ampleTira;
      const canviades = new Set();
      for (let k = 0; k < count; ++k) {
        const [x, y, w, h] = rects.subarray(4 * k, 4 * k + 4);
        const pixels = new ImageData(new Uint8ClampedArray(M.HEAPU8.buffer, at, w * h * 4), w, h);
        const lastBand = Math.floor((y + h - 1) / H), lastColumn = Math.floor((x + w - 1) / W);
        for (let t = Math.floor(y / H); t <= lastBand; ++t) {
          const top = t * H;
          const fromY = Math.max(y, top), toY = Math.min(y + h, top + H);
          for (let c = Math.floor(x / W); c <= lastColumn; ++c) {
            const left = c * W;
            const fromX = Math.max(x, left), toX = Math.min(x + w, left + W);
            const tira = this.tira(t, c);
            if (tira.posa(pixels, x - left, y - top, fromX - x, fromY - y, toX - fromX, toY - fromY)) canviades.add(tira);
          }
        }
        at += w * h * 4;
      }
      for (const tira of canviades) tira.mostra();
    }

    // How thick the browser's scroll bars are, in CSS pixels: none where they lie over the content.
    gruixBarra() {
      const sonda = document.createElement('div');
      sonda.style.cssText = 'position: absolute; visibility: hidden; overflow: scroll; width: 100px; height: 100px;';
      this.client.append(sonda);
      const gruix = sonda.offsetWidth - sonda.clientWidth;
      sonda.remove();
      return gruix;
    }

    // The bench one step larger (1) or smaller (-1), or back to its fit (0), about a point of the
    // client area in CSS pixels, or its middle. False where there is no step to take: Ctrl and 0
    // on the bench at its fit is left to the browser, to undo a zoom of its own.
    amplia(pas, punt = null) {
      if (this.acabat || (pas === 0 && this.lupa === 1)) return false;
      const at = LUPES.indexOf(this.lupa);
      const lupa = pas === 0 ? 1 : LUPES[Math.min(LUPES.length - 1, Math.max(0, at + pas))];
      if (lupa !== this.lupa) {
        this.lupa = lupa;
        this.ancora = punt;
        this.disposa();
      }
      return true;
    }

    // The scroll offset of the client area, in device pixels.
    desplacat() {
      const { ratio } = this.mida;
      return [Math.round(this.client.scrollLeft * ratio), Math.round(this.client.scrollTop * ratio)];
    }

    // The client area scrolls along the sides the magnified bench overflows. The point of the bench
    // at the anchor (the pointer that asked for the step, else the middle of the viewport) stays
    // where it was, whatever the magnification was.
    posaDesplacament(vista, ratio) {
      const abans = this.disposicio;
      this.disposicio = { ...vista, ratio };
      const client = this.client;
      if (this.lupa === 1) {
        if (client.dataset.lupa === undefined) return;
        delete client.dataset.lupa;
        client.style.overflowX = client.style.overflowY = '';
        client.scrollTo(0, 0);
        this.desplacament = [0, 0];
        return;
      }
      client.dataset.lupa = String(this.lupa);
      client.style.overflowX = vista.width > vista.viewportWidth ? 'scroll' : 'hidden';
      client.style.overflowY = vista.height > vista.viewportHeight ? 'scroll' : 'hidden';
      const [ax, ay] = this.ancora ?? [vista.viewportWidth / ratio / 2, vista.viewportHeight / ratio / 2];
      this.ancora = null;
      const [sx, sy] = [0, 1].map((k) => {
        const [a, eix] = [[ax, ay][k], ['x', 'y'][k]];
        const punt = ((this.desplacament[k] + a) * abans.ratio - abans[eix]) / abans.scale;
        return punt * vista.scale + vista[eix] - a * ratio;
      });
      this.desplacaA(sx, sy);
      this.mouFinestra();
    }

    // Scrolls the magnified bench to an offset in device pixels, as near as it goes; a whole
    // number of them, so that every edge stays on a device pixel's.
    desplacaA(x, y) {
      const { width, height, ratio } = this.mida;
      const { viewportWidth, viewportHeight } = this.disposicio;
      const dins = (v, max) => Math.min(Math.max(0, Math.round(v)), Math.max(0, max)) || 0;
      this.desplacament = [dins(x, width - viewportWidth) / ratio, dins(y, height - viewportHeight) / ratio];
      this.client.scrollTo(...this.desplacament);
    }

    // What the surface paints of the magnified bench: the tiles the viewport shows and a band
    // above and below, which the page holds; a tile that leaves them is let go, one that enters is
    // black until painted. While a handler waits for its message box the module is not entered:
    // the new window waits for the handler's end.
    mouFinestra() {
      if (this.lupa === 1 || this.acabat || this.ocupat) return;
      const { width, height } = this.mida;
      const [sx, sy] = this.desplacat();
      const H = this.alturaTira, W = this.ampleTira;
      const left = Math.floor(sx / W) * W, top = Math.max(0, (Math.floor(sy / H) - 1) * H);
      const right = Math.min(width, Math.ceil((sx + this.disposicio.viewportWidth) / W) * W);
      const bottom = Math.min(height, (Math.ceil((sy + this.disposicio.viewportHeight) / H) + 1) * H);
      const finestra = [left, top, right - left, bottom - top];
      if (finestra.every((v, k) => v === this.finestra[k])) return;
      this.finestra = finestra;
      for (const [clau, { canvas }] of this.tires) {
        const x = Number(canvas.dataset.left), y = Number(canvas.dataset.top);
        if (x >= left && x < right && y >= top && y < bottom) continue;
        canvas.remove();
        this.tires.delete(clau);
      }
      this.M._corvani_finestra(...finestra);
      this.pinta();
    }

    // The ways to magnify and scroll the bench: Ctrl and the keys (tecla), Ctrl and the wheel or a
    // trackpad's pinch, which the browsers send as Ctrl and the wheel; the scroll bars, the wheel,
    // the keys and a drag of the black with the mouse, a finger's drag being the browser's own;
    // and the control the keyboard focuses shown.
    segueixLupa() {
      window.addEventListener('wheel', (event) => this.roda(event), { passive: false });
      this.client.addEventListener('scroll', () => {
        this.desplacament = [this.client.scrollLeft, this.client.scrollTop];
        this.mouFinestra();
      });
      document.addEventListener('keydown', (event) => this.desplacaAmbTecla(event));
      this.canvas.addEventListener('pointerdown', (event) => this.arrossega(event));
      this.client.addEventListener('focusin', (event) => this.mostraFocus(event.target));
    }

    // Ctrl and the wheel magnify the bench about the pointer, a step a notch, however finely the
    // wheel or the trackpad reports its travel; the browser's own zoom does not happen.
    roda(event) {
      if (!event.ctrlKey) return;
      event.preventDefault();
      if (this.acabat || this.dialog.open) return;
      const px = event.deltaY * [1, 40, 800][event.deltaMode];
      if (Math.sign(px) !== Math.sign(this.rodat)) this.rodat = 0;
      this.rodat += px;
      if (Math.abs(this.rodat) < 50) return;
      this.rodat = 0;
      const area = this.client.getBoundingClientRect();
      const x = Math.min(Math.max(0, event.clientX - area.left), this.client.clientWidth);
      const y = Math.min(Math.max(0, event.clientY - area.top), this.client.clientHeight);
      this.amplia(px < 0 ? 1 : -1, [x, y]);
    }

    // A key the focus has not used scrolls the magnified bench: see DESPLACAMENTS; Space and
    // Shift+Space a page down and up where the focus is not on a button.
    desplacaAmbTecla(event) {
      if (this.lupa === 1 || event.defaultPrevented || this.acabat || this.dialog.open) return;
      if (event.altKey || event.ctrlKey || event.metaKey || document.getElementById('menus').contains(event.target)) return;
      const { ratio } = this.mida;
      const pagina = this.disposicio.viewportHeight - this.alturaTira;
      let moviment = DESPLACAMENTS[event.key];
      if (event.key === ' ' && event.target.tagName !== 'BUTTON') moviment = (pas, p) => [0, event.shiftKey ? -p : p];
      if (!moviment) return;
      event.preventDefault();
      const [dx, dy] = moviment(Math.round(40 * ratio), pagina);
      const [sx, sy] = this.desplacat();
      this.desplacaA(sx + dx, sy + dy);
    }

    // A press of the mouse on the black of the magnified bench drags it.
    arrossega(event) {
      if (this.lupa === 1 || event.pointerType === 'touch' || event.button !== 0) return;
      event.preventDefault();
      const { ratio } = this.mida;
      const [sx, sy] = this.desplacat();
      const [x0, y0] = [event.clientX, event.clientY];
      const mou = (e) => this.desplacaA(sx - (e.clientX - x0) * ratio, sy - (e.clientY - y0) * ratio);
      const deixa = () => {
        this.canvas.removeEventListener('pointermove', mou);
        delete this.client.dataset.arrossega;
      };
      this.canvas.setPointerCapture(event.pointerId);
      this.client.dataset.arrossega = '';
      this.canvas.addEventListener('pointermove', mou);
      this.canvas.addEventListener('lostpointercapture', deixa, { once: true });
    }

    // The control the keyboard gives the focus to is scrolled fully into view, with a margin where
    // there is room; one a press of the pointer focused is not moved from under it.
    mostraFocus(element) {
      if (this.lupa === 1 || !element.matches(':focus-visible')) return;
      const { ratio } = this.mida;
      const r = element.getBoundingClientRect(), area = this.client.getBoundingClientRect();
      const marge = 8;
      const cal = (lo, hi, vlo, vhi) => {
        if (lo - marge < vlo) return lo - marge - vlo;
        if (hi + marge > vhi) return Math.min(hi + marge - vhi, lo - marge - vlo);
        return 0;
      };
      const dx = cal(r.left, r.right, area.left, area.left + this.client.clientWidth);
      const dy = cal(r.top, r.bottom, area.top, area.top + this.client.clientHeight);
      if (dx === 0 && dy === 0) return;
      const [sx, sy] = this.desplacat();
      this.desplacaA(sx + dx * ratio, sy + dy * ratio);
    }

    // On paper the bench is one picture: the strips, scaled to the page, would each be blended at
    // its edges into the black below, a seam at every strip's edge. Their pixels are copied to one
    // canvas, which a printed page shows in the strips' place until the printing is over. Its
    // context keeps an alpha channel, though every pixel copied is opaque: an opaque canvas is
    // printed as a copy over what lies below, which a PDF can only say through an inverted soft
    // mask, and renderers that miss it leave white beside the canvas, where the eye stands past
    // the screen's edge. Magnified, the bench is printed whole, at its fit, and magnified again
    // once the printing is over (perImprès).
    perImprimir() {
      if (this.acabat) return;
      if (this.lupa > 1 && !this.ocupat) {
        this.abansImprimir = { lupa: this.lupa, desplacament: this.desplacat() };
        this.lupa = 1;
        this.disposa();
      }
      const { width, height, ratio } = this.mida;
      const impres = document.createElement('canvas');
      impres.id = 'impres';
      Object.assign(impres, { width, height });
      Object.assign(impres.style, { width: `${width / ratio}px`, height: `${height / ratio}px` });
      const context = impres.getContext('2d');
      for (const { canvas } of this.tires.values()) {
        context.drawImage(canvas, Number(canvas.dataset.left), Number(canvas.dataset.top));
      }
      this.client.querySelector('#impres')?.remove();
      document.getElementById('tires').before(impres);
    }

    // The printed picture let go, and the magnification the bench had before it was printed.
    perImpres() {
      this.client.querySelector('#impres')?.remove();
      const abans = this.abansImprimir;
      this.abansImprimir = null;
      if (!abans || this.acabat || this.lupa !== 1) return;
      this.lupa = abans.lupa;
      this.disposa();
      this.desplacaA(...abans.desplacament);
    }

    // "&Sortir": nothing answers any more, and one line says how to start again.
    acaba() {
      if (this.ocupat || this.acabat) return;
      this.acabat = true;
      const linia = document.createElement('p');
      linia.id = 'acabat';
      linia.textContent = this.taula.acabat;
      document.body.replaceChildren(linia);
      document.body.dataset.acabat = '';
      window.close();
    }
  }

  // The smallest text the browser shows, in CSS pixels, or 0: the size it gives a text set at 1px.
  function lletraMinima() {
    const sonda = document.createElement('span');
    sonda.style.fontSize = '1px';
    document.body.append(sonda);
    const px = parseFloat(getComputedStyle(sonda).fontSize);
    sonda.remove();
    return px > 1 ? px : 0;
  }

  // Served as an installable site, the page has a manifest and a service worker that keeps it for
  // use offline; opened as a file it has neither. The worker is registered once the page has loaded;
  // the browser asks the server for its script at every check, past its HTTP cache, so that a new
  // build is found whatever the server says of caching. A site served without the worker is the
  // page alone.
  function registraServei() {
    const manifest = document.querySelector('link[rel="manifest"]');
    if (!manifest || !('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol)) return;
    window.addEventListener('load', () => {
      navigator.serviceWorker.register(manifest.dataset.servei, { updateViaCache: 'none' }).catch(() => {});
    });
  }

  // Where the browser has no WebAssembly, or will not compile the module, the sentence the page
  // shows without scripts stands in place of the bench. The template holds it as a script sees it:
  // the source text of the noscript element.
  function senseModul() {
    const linia = document.createElement('p');
    linia.id = 'requisit';
    const font = document.getElementById('requisit').textContent;
    linia.textContent = new DOMParser().parseFromString(font, 'text/html').body.textContent;
    document.body.replaceChildren(linia);
  }

  // The module, compiled as the page was read (MODUL, at its head), is instantiated once the page
  // has been read: what the first frame shows is built as soon as both are done. Where there is no
  // WebAssembly, or it refuses the module, the page says what it needs; a failure once the module
  // runs is the page's own, and is thrown on.
  let pagina = null;
  if (!MODUL) senseModul();
  else {
    CorvaniModule({
      instantiateWasm(imports, rebut) {
        MODUL.then((modul) => WebAssembly.instantiate(modul, imports).then((instancia) => [instancia, modul]))
          .then(([instancia, modul]) => rebut(instancia, modul), senseModul);
        return {};
      },
      corvaniCanvi: (control) => pagina && pagina.canvi(control),
      corvaniMissatge: (text) => pagina.missatge(text),
      onRuntimeInitialized() {
        pagina = new Pagina(this);
      },
    });
  }
  registraServei();
})();
