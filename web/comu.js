// What the page's script and the tools that build the page share: a colour as the bench packs it,
// written for CSS, and text made safe for markup. Run in the page as part of its script, and
// required by the build tools.
'use strict';

// A colour packed as the desktop packs it, red in the lowest byte.
function cssColor(color) {
  return `rgb(${color & 255},${(color >> 8) & 255},${(color >> 16) & 255})`;
}

// Text within an element, and within an attribute's double quotes.
function textMarcat(text) {
  return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}
function atributMarcat(text) {
  return textMarcat(String(text)).replace(/"/g, '&quot;');
}

if (typeof module === 'object') module.exports = { cssColor, textMarcat, atributMarcat };
