// The page: builds the window from the module's table, shows the controls as the bench sets
// them, copies the surface's changed pixels to the canvas, and sends every click to the bench.
// What the bench does lives in the module; the page only shows it and passes the user's actions on.
'use strict';

(() => {
  const PUNTS = 96 / 72; // CSS pixels to a point

  const css = (color) => `rgb(${color & 255},${(color >> 8) & 255},${(color >> 16) & 255})`;

  // "&Informació": the text with its access letter underlined.
  function ambLletra(element, text) {
    const at = text.indexOf('&');
    if (at < 0 || at + 1 >= text.length) {
      element.textContent = text;
      return;
    }
    const lletra = document.createElement('u');
    lletra.textContent = text[at + 1];
    element.replaceChildren(text.slice(0, at), lletra, text.slice(at + 2));
  }

  class Pagina {
    constructor(M) {
      this.M = M;
      this.escala = 1;
      this.ocupat = false; // a handler is running, or waits for its message box to close
      this.acabat = false;
      this.taula = this.json(M._corvani_taula());
      this.client = document.getElementById('client');
      this.canvas = document.getElementById('llenc');
      this.context = this.canvas.getContext('2d', { alpha: false });
      document.title = this.taula.titol;
      this.canvas.setAttribute('aria-label', this.taula.banc);
      this.creaMissatge();
      this.creaMenus();
      this.elements = this.taula.controls.map((row, i) => this.creaControl(row, i));
      M._corvani_inicia();
      this.elements.forEach((_, i) => this.canvi(i));
      this.descriu();
      this.disposa();
      window.addEventListener('resize', () => this.disposa());
      this.segueixRelacio();
      document.body.dataset.llest = '';
    }

    json(pointer) {
      return JSON.parse(this.M.UTF8ToString(pointer));
    }

    // An action of the user: none while another runs or a message box is open, none once ended.
    async actua(accio) {
      if (this.ocupat || this.acabat) return;
      this.ocupat = true;
      document.body.dataset.ocupat = '';
      try {
        await accio();
      } finally {
        this.ocupat = false;
        delete document.body.dataset.ocupat;
        if (!this.acabat) {
          if (this.redisposa) {
            this.redisposa = false;
            this.disposa();
          }
          this.pinta();
          this.descriu();
        }
      }
    }

    creaMissatge() {
      this.dialog = document.getElementById('missatge');
      document.getElementById('missatge-titol').textContent = this.taula.programa;
      document.getElementById('missatge-acord').textContent = this.taula.acord;
    }

    // Called by the module while a handler runs: what the bench shows so far is painted, then the
    // handler waits until the box is closed.
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

    creaMenus() {
      const barra = document.getElementById('menus');
      const tanca = () => {
        for (const obert of barra.querySelectorAll('[aria-expanded="true"]')) {
          obert.setAttribute('aria-expanded', 'false');
          obert.nextElementSibling.hidden = true;
        }
      };
      const item = (entry, parent) => {
        const b = document.createElement('button');
        b.type = 'button';
        b.setAttribute('role', 'menuitem');
        b.dataset.menu = entry.text;
        b.dataset.item = entry.id;
        ambLletra(b, entry.text);
        b.addEventListener('click', () => {
          tanca();
          if (entry.id === this.taula.sortir) this.acaba();
          else this.actua(() => this.M.ccall('corvani_tria', 'number', ['number'], [entry.id], { async: true }));
        });
        parent.append(b);
        return b;
      };
      for (const entry of this.taula.menus) {
        if (!entry.items) {
          item(entry, barra);
          continue;
        }
        const menu = document.createElement('div');
        menu.className = 'menu';
        const titol = document.createElement('button');
        titol.type = 'button';
        titol.setAttribute('role', 'menuitem');
        titol.setAttribute('aria-haspopup', 'menu');
        titol.setAttribute('aria-expanded', 'false');
        titol.dataset.menu = entry.text;
        ambLletra(titol, entry.text);
        const llista = document.createElement('div');
        llista.setAttribute('role', 'menu');
        llista.hidden = true;
        for (const sub of entry.items) item(sub, llista);
        titol.addEventListener('click', () => {
          const obre = titol.getAttribute('aria-expanded') !== 'true';
          tanca();
          if (obre && !this.ocupat && !this.acabat) {
            titol.setAttribute('aria-expanded', 'true');
            llista.hidden = false;
          }
        });
        menu.append(titol, llista);
        barra.append(menu);
      }
      document.addEventListener('pointerdown', (event) => {
        if (!barra.contains(event.target)) tanca();
      });
    }

    creaControl(row, i) {
      const nom = row.index >= 0 ? `${row.nom}(${row.index})` : row.nom;
      let element;
      switch (row.kind) {
        case 'Shape':
          return null;
        case 'GraphicalButton':
        case 'Button':
          element = document.createElement('button');
          element.type = 'button';
          element.className = `boto ${row.kind === 'Button' ? 'sistema' : 'grafic'}`;
          element.addEventListener('click', () =>
            this.actua(() => this.M.ccall('corvani_click', 'number', ['number'], [i], { async: true })));
          break;
        case 'PictureBox':
          element = document.createElement('div');
          element.className = 'imatge';
          element.setAttribute('role', 'img');
          element.tabIndex = 0;
          element.style.borderWidth = `${row.borderWidth}px`;
          break;
        case 'ScrollBar':
          element = this.creaBarra();
          break;
        case 'Frame': {
          element = document.createElement('div');
          element.className = 'marc';
          const fieldset = document.createElement('fieldset');
          const legend = document.createElement('legend');
          legend.textContent = row.caption;
          fieldset.append(legend);
          element.append(fieldset);
          break;
        }
        case 'Label':
          element = document.createElement('div');
          element.className = 'etiqueta';
          element.textContent = row.caption;
          break;
        default:
          return null;
      }
      element.classList.add('control');
      element.dataset.control = nom;
      element.style.zIndex = String(this.taula.controls.length - i);
      if (row.back !== null) element.style.backgroundColor = css(row.back);
      if (row.fore !== null) element.style.color = css(row.fore);
      if (row.tooltip) element.title = row.tooltip;
      if (row.accessibleName) element.setAttribute('aria-label', row.accessibleName);
      if (row.picture) {
        element.imatge = IMATGES[row.picture];
        element.style.backgroundImage = `url(${element.imatge.src})`;
      }
      element.hidden = !row.visible;
      this.client.append(element);
      return element;
    }

    // The direction bar: arrows at both ends and a thumb, at the top for 0 and at the bottom for 1.
    creaBarra() {
      const barra = document.createElement('div');
      barra.className = 'barra';
      barra.setAttribute('role', 'scrollbar');
      barra.setAttribute('aria-orientation', 'vertical');
      barra.setAttribute('aria-valuemin', '0');
      barra.setAttribute('aria-valuemax', '1');
      barra.setAttribute('aria-valuenow', '0');
      barra.tabIndex = 0;
      const amunt = document.createElement('div');
      amunt.className = 'fletxa amunt';
      const guia = document.createElement('div');
      guia.className = 'guia';
      const polze = document.createElement('div');
      polze.className = 'polze';
      guia.append(polze);
      const avall = document.createElement('div');
      avall.className = 'fletxa avall';
      barra.append(amunt, guia, avall);
      const valor = () => Number(barra.getAttribute('aria-valuenow'));
      const posa = (v) => {
        if (v !== valor()) this.actua(() => this.M._corvani_barra(v));
      };
      amunt.addEventListener('pointerdown', () => posa(Math.max(0, valor() - 1)));
      avall.addEventListener('pointerdown', () => posa(Math.min(1, valor() + 1)));
      // On the track: a page towards the pointer; dragging the thumb past the middle moves it there.
      const capA = (event) => {
        const r = guia.getBoundingClientRect();
        return event.clientY - r.top < r.height / 2 ? 0 : 1;
      };
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
      return barra;
    }

    // Shows one control as the bench describes it now.
    canvi(i) {
      const element = this.elements[i];
      if (!element) return;
      const row = this.taula.controls[i];
      const estat = this.json(this.M._corvani_estat(i));
      element.hidden = !estat.visible;
      if (element.tagName === 'BUTTON') {
        element.disabled = !estat.enabled;
        if (element.textContent !== estat.caption) {
          element.textContent = estat.caption;
          if (this.disposat) this.ajustaText([element]);
        }
        if (row.back !== null) element.style.backgroundColor = css(estat.back);
      }
      if (row.kind === 'ScrollBar') element.setAttribute('aria-valuenow', String(estat.value));
    }

    // What a screen reader is told: the light at the eye, and the shapes the canvas shows.
    descriu() {
      const d = this.json(this.M._corvani_descripcio());
      const ull = this.elements[this.taula.controls.findIndex((row) => row.nom === 'Picture1')];
      ull.setAttribute('aria-description', d.ull);
      const llista = document.getElementById('formes');
      llista.replaceChildren(...d.formes.map((nom) => {
        const li = document.createElement('li');
        li.textContent = nom;
        return li;
      }));
    }

    // The canvas in device pixels over the whole client area, the bench at the largest scale that
    // fits it, every control at its place at that scale.
    disposa() {
      if (this.acabat) return;
      // While a handler waits for its message box the module must not be entered: the layout
      // waits for the handler's end.
      if (this.ocupat) {
        this.redisposa = true;
        return;
      }
      const ratio = window.devicePixelRatio || 1;
      const area = this.client.getBoundingClientRect();
      const width = Math.max(1, Math.round(area.width * ratio));
      const height = Math.max(1, Math.round(area.height * ratio));
      this.canvas.width = width;
      this.canvas.height = height;
      this.canvas.style.width = `${width / ratio}px`;
      this.canvas.style.height = `${height / ratio}px`;
      const vista = this.json(this.M._corvani_vista(width, height));
      this.escala = vista.scale / ratio;
      // Where the bench lies on the canvas, in device pixels: its corner, its scale, and the
      // pixels of a drawing unit across and down at scale 1.
      const [perUnitX, perUnitY] = this.taula.pixelsPerUnit;
      this.canvas.dataset.vista = [vista.x, vista.y, vista.scale, perUnitX, perUnitY].join(' ');
      this.taula.controls.forEach((row, i) => {
        const element = this.elements[i];
        if (!element) return;
        const [left, top, w, h] = vista.rects[i];
        Object.assign(element.style, {
          left: `${left / ratio}px`, top: `${top / ratio}px`, width: `${w / ratio}px`, height: `${h / ratio}px`,
          fontSize: `${(row.kind === 'Label' ? 12 : 8) * PUNTS * this.escala}px`,
        });
        if (element.imatge) {
          const { width: w0, height: h0 } = element.imatge;
          element.style.backgroundSize = `${w0 * this.escala}px ${h0 * this.escala}px`;
          if (row.kind === 'PictureBox') {
            const vora = row.borderWidth;
            element.style.backgroundPosition = `${vora * this.escala}px ${vora * this.escala}px`;
          }
        }
        if (row.kind === 'ScrollBar') {
          for (const fletxa of element.querySelectorAll('.fletxa')) fletxa.style.height = `${(w - 2) / ratio}px`;
        }
      });
      this.ajustaText(this.elements.filter((element) => element && element.tagName === 'BUTTON'));
      this.disposat = true;
      this.pinta();
    }

    // A caption whose longest word does not fit its face is made smaller, half a point at a time.
    // All the buttons' sizes are set before any is measured, so the page is laid out once a step.
    ajustaText(botons) {
      const mida = (punts) => `${punts * PUNTS * this.escala}px`;
      for (const boto of botons) boto.style.fontSize = mida(8);
      let massaLlargs = botons.filter((boto) => boto.scrollWidth > boto.clientWidth);
      for (let punts = 7.5; punts >= 6 && massaLlargs.length > 0; punts -= 0.5) {
        for (const boto of massaLlargs) boto.style.fontSize = mida(punts);
        massaLlargs = massaLlargs.filter((boto) => boto.scrollWidth > boto.clientWidth);
      }
    }

    // The window moved to a screen of another device pixel ratio, or the page was zoomed.
    segueixRelacio() {
      const consulta = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
      consulta.addEventListener('change', () => {
        this.disposa();
        this.segueixRelacio();
      }, { once: true });
    }

    // Copies to the canvas the rectangles of the surface that changed.
    pinta() {
      const M = this.M;
      const count = M._corvani_pinta();
      if (count === 0) return;
      const rects = new Int32Array(M.HEAP32.buffer, M._corvani_rectangles(), count * 4).slice();
      const { width, height } = this.canvas;
      const pixels = new Uint8ClampedArray(M.HEAPU8.buffer, M._corvani_pixels(), width * height * 4);
      const image = new ImageData(pixels, width, height);
      for (let k = 0; k < count; ++k) {
        const [x, y, w, h] = rects.subarray(4 * k, 4 * k + 4);
        this.context.putImageData(image, 0, 0, x, y, w, h);
      }
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

  // The module is compiled as the page loads, so the bench is shown before the load event.
  let pagina = null;
  CorvaniModule({
    corvaniCanvi: (control) => pagina && pagina.canvi(control),
    corvaniMissatge: (text) => pagina.missatge(text),
    onRuntimeInitialized() {
      pagina = new Pagina(this);
    },
  });
})();
