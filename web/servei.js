// The installable site's service worker: keeps the page, its manifest and its icons, and serves
// them from what it keeps, so that the installed program runs offline. The site's builder
// (lloc.js) writes in the files' list and a version that changes whenever one of them does; a
// new version is a new worker, which keeps the new files and drops the old.
'use strict';

const VERSIO = '/*VERSIO*/';
const FITXERS = /*FITXERS*/;
const PAGINA = FITXERS[0];
const DESAT = `corvani-${VERSIO}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(DESAT).then((desat) => desat.addAll(FITXERS)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((noms) => Promise.all(noms.filter((nom) => nom.startsWith('corvani-') && nom !== DESAT)
      .map((nom) => caches.delete(nom))))
    .then(() => self.clients.claim()));
});

// What is kept first; the site's folder itself, however it is asked for, is the page.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith((async () => {
    const desat = await caches.open(DESAT);
    const resposta = await desat.match(event.request, { ignoreSearch: true })
      || (event.request.mode === 'navigate' ? await desat.match(PAGINA) : undefined);
    return resposta || fetch(event.request);
  })());
});
