// The page's menu bar, built from the module's table of menus: titles with their access letters
// underlined, menus of items, and the keys that open and walk them as the desktop's menu bar does.
'use strict';

// The access letter of "&Informació": "i".
function lletraDe(text) {
  const at = text.indexOf('&');
  return at >= 0 && at + 1 < text.length ? text[at + 1].toLowerCase() : '';
}

// The text with its access letter underlined.
function ambLletra(element, text) {
  const at = text.indexOf('&');
  if (!lletraDe(text)) {
    element.textContent = text;
    return;
  }
  const lletra = document.createElement('u');
  lletra.textContent = text[at + 1];
  element.replaceChildren(text.slice(0, at), lletra, text.slice(at + 2));
}

// The key's name, Shift+Tab's too: WebKitGTK names that one "Unidentified" (GTK gives it as a key
// of its own, ISO_Left_Tab), though in Tab's place.
function nomTecla(event) {
  return event.key === 'Unidentified' && event.code === 'Tab' ? 'Tab' : event.key;
}

// The letter of a key pressed with Alt, from the key's place where Alt turns it into a symbol.
function lletraTecla(event) {
  const lloc = /^Key([A-Z])$/.exec(event.code);
  return lloc ? lloc[1].toLowerCase() : event.key.toLowerCase();
}

// The menu bar: a menu opens by a click or a tap on its title, or by Alt and its letter; its
// items are walked with the arrow keys and chosen by Enter, Space, a click or their letter, and
// Escape closes it. As on the desktop the bar is not in the Tab order, and when a menu closes the
// focus goes back to the control that had it.
class BarraMenus {
  // tria(entrada) acts on an item chosen; pot() says whether the bench takes an action now.
  constructor(barra, entrades, { tria, pot }) {
    this.barra = barra;
    this.tria = tria;
    this.pot = pot;
    this.tornada = null; // the control focused before the focus came into the bar
    this.titols = entrades.map((entrada) => this.creaTitol(entrada));
    barra.addEventListener('focusin', (event) => {
      if (!barra.contains(event.relatedTarget)) this.tornada = event.relatedTarget;
    });
    barra.addEventListener('focusout', (event) => {
      if (!barra.contains(event.relatedTarget)) this.tanca();
    });
    barra.addEventListener('keydown', (event) => {
      if (this.teclaDins(event)) event.preventDefault();
    });
    document.addEventListener('pointerdown', (event) => {
      if (!barra.contains(event.target)) this.tanca();
    });
  }

  // A title or an item, its access letter told to screen readers as the desktop tells it: Alt and
  // the letter.
  boto(text, role) {
    const b = document.createElement('button');
    b.type = 'button';
    b.tabIndex = -1;
    b.setAttribute('role', role);
    b.dataset.menu = text;
    ambLletra(b, text);
    const lletra = lletraDe(text);
    if (lletra) b.setAttribute('aria-keyshortcuts', `Alt+${lletra.toUpperCase()}`);
    return b;
  }

  creaTitol(entrada) {
    const titol = {
      boto: this.boto(entrada.text, 'menuitem'), lletra: lletraDe(entrada.text), llista: null, items: [],
    };
    if (!entrada.items) {
      titol.boto.dataset.item = entrada.id;
      titol.boto.addEventListener('click', () => this.escull(entrada));
      this.barra.append(titol.boto);
      return titol;
    }
    const menu = document.createElement('div');
    menu.className = 'menu';
    titol.boto.id = `menu-${titol.lletra}`;
    titol.boto.setAttribute('aria-haspopup', 'menu');
    titol.boto.setAttribute('aria-expanded', 'false');
    titol.llista = document.createElement('div');
    titol.llista.setAttribute('role', 'menu');
    titol.llista.setAttribute('aria-labelledby', titol.boto.id);
    titol.llista.hidden = true;
    titol.entrades = entrada.items;
    // A click or a tap toggles the menu; Enter or Space on the title opens it at its first item.
    titol.boto.addEventListener('click', (event) => {
      if (this.obert() === titol && event.detail > 0) this.tanca();
      else this.obre(titol, event.detail === 0);
    });
    menu.append(titol.boto, titol.llista);
    this.barra.append(menu);
    return titol;
  }

  // The menus' items, which no one sees until a menu opens: made once the page has shown itself,
  // or as a menu first opens, whichever comes first.
  completa() {
    for (const titol of this.titols) {
      if (!titol.entrades) continue;
      for (const sub of titol.entrades) {
        const item = { boto: this.boto(sub.text, 'menuitem'), lletra: lletraDe(sub.text) };
        item.boto.dataset.item = sub.id;
        item.boto.addEventListener('click', () => this.escull(sub));
        titol.llista.append(item.boto);
        titol.items.push(item);
      }
      titol.entrades = null;
    }
  }

  obert() {
    return this.titols.find((t) => t.llista && !t.llista.hidden) || null;
  }

  obre(titol, alPrimer) {
    this.tanca();
    if (!this.pot()) return;
    this.completa();
    titol.boto.setAttribute('aria-expanded', 'true');
    titol.llista.hidden = false;
    (alPrimer ? titol.items[0].boto : titol.boto).focus();
  }

  // Closes the open menu, if any; the focus stays where it is.
  tanca() {
    for (const titol of this.titols) {
      if (!titol.llista || titol.llista.hidden) continue;
      titol.llista.hidden = true;
      titol.boto.setAttribute('aria-expanded', 'false');
    }
  }

  // The focus back to the control that had it, or to nothing where none had.
  retorna() {
    this.tanca();
    if (!this.barra.contains(document.activeElement)) return;
    if (this.tornada && this.tornada.isConnected) this.tornada.focus();
    else document.activeElement.blur();
  }

  escull(entrada) {
    this.retorna();
    if (this.pot()) this.tria(entrada);
  }

  // Alt and a title's letter, wherever the focus is: "&Sortir" acts at once, a menu opens.
  tecla(event) {
    if (!event.altKey || event.ctrlKey || event.metaKey) return false;
    const titol = this.titols.find((t) => t.lletra === lletraTecla(event));
    if (!titol) return false;
    if (titol.llista) this.obre(titol, true);
    else titol.boto.click();
    return true;
  }

  // A key on a title or an item of the bar; true if the bar has used it.
  teclaDins(event) {
    if (event.ctrlKey || event.metaKey) return false;
    const titol = this.titols.find((t) => t.boto === event.target || t.items.some((i) => i.boto === event.target));
    if (!titol) return false;
    const items = titol.items.map((i) => i.boto);
    const at = items.indexOf(event.target);
    const k = this.titols.indexOf(titol);
    const vei = (pas) => {
      const altre = this.titols[(k + pas + this.titols.length) % this.titols.length];
      if (altre.llista) this.obre(altre, at >= 0);
      else {
        this.tanca();
        altre.boto.focus();
      }
    };
    switch (nomTecla(event)) {
      case 'Escape':
      case 'Tab':
        this.retorna();
        return true;
      case 'ArrowRight':
        vei(1);
        return true;
      case 'ArrowLeft':
        vei(-1);
        return true;
      case 'ArrowDown':
      case 'ArrowUp':
      case 'Home':
      case 'End': {
        if (!titol.llista) return event.key === 'ArrowDown' || event.key === 'ArrowUp';
        if (at < 0) {
          this.obre(titol, true);
          return true;
        }
        const n = items.length;
        const seguent = { ArrowDown: (at + 1) % n, ArrowUp: (at + n - 1) % n, Home: 0, End: n - 1 }[event.key];
        items[seguent].focus();
        return true;
      }
      default: {
        if (event.key.length !== 1 || event.key === ' ') return false;
        const lletra = event.altKey ? lletraTecla(event) : event.key.toLowerCase();
        const item = at >= 0 ? titol.items.find((i) => i.lletra === lletra) : null;
        if (item) {
          item.boto.click();
          return true;
        }
        const altre = this.titols.find((t) => t.lletra === lletra);
        if (!altre) return false;
        if (altre.llista) this.obre(altre, true);
        else altre.boto.click();
        return true;
      }
    }
  }
}
