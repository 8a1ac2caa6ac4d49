// The installable site's service worker: keeps the page, its manifest and its icons, and serves
// them from what it keeps, so that the installed program runs offline. The site's builder
// (lloc.js) writes in the build's version and every file's SHA-256; a new build is a new worker.
// A new worker keeps only what it fetched from the server itself, past the browser's HTTP cache,
// and found to be its build's, byte for byte: a server half way through a deployment, or a cache
// on the way that still holds the last build, makes the installation fail, and the browser tries
// again at the next load. Once installed it takes charge of the open pages at once; a page of the
// build before asks for its files with that build's version in the address, and is answered from
// that build's files, which the worker keeps until the next build.
'use strict';

const VERSIO = '/*VERSIO*/';
const FITXERS = /*FITXERS*/;
const PAGINA = Object.keys(FITXERS)[0];
const PREFIX = 'corvani-';
const DESAT = `${PREFIX}${VERSIO}`;

const hexadecimal = (bytes) => [...new Uint8Array(bytes)].map((b) => b.toString(16).padStart(2, '0')).join('');

// One of the build's files from the server, or an error when the server answers another.
async function baixa(nom) {
  const resposta = await fetch(new Request(`${nom}?v=${VERSIO}`, { cache: 'reload' }));
  if (!resposta.ok) throw new Error(`${nom}: HTTP ${resposta.status}`);
  const cos = await resposta.arrayBuffer();
  if (hexadecimal(await crypto.subtle.digest('SHA-256', cos)) !== FITXERS[nom]) {
    throw new Error(`${nom}: not this build's (${VERSIO})`);
  }
  return new Response(cos, { headers: { 'Content-Type': resposta.headers.get('Content-Type') || '' } });
}

// Every file is fetched and checked before any is kept.
self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const noms = Object.keys(FITXERS);
    const respostes = await Promise.all(noms.map(baixa));
    const desat = await caches.open(DESAT);
    await Promise.all(noms.map((nom, i) => desat.put(new URL(nom, self.registration.scope), respostes[i])));
    await self.skipWaiting();
  })());
});

// The build before this one stays, for the pages of it still open; older builds go.
self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    const altres = (await caches.keys()).filter((nom) => nom.startsWith(PREFIX) && nom !== DESAT);
    await Promise.all(altres.slice(0, -1).map((nom) => caches.delete(nom)));
    await self.clients.claim();
  })());
});

// The build's files from what is kept, the version in the address choosing the build; the site's
// folder itself, however it is asked for, is the page. Anything else goes to the server.
self.addEventListener('fetch', (event) => {
  const { request } = event;
  const scope = self.registration.scope;
  if (request.method !== 'GET' || !request.url.startsWith(scope)) return;
  const url = new URL(request.url);
  const relatiu = url.pathname.slice(new URL(scope).pathname.length);
  const nom = relatiu === '' ? PAGINA : relatiu;
  const navega = request.mode === 'navigate';
  if (!(nom in FITXERS) && !navega) return;
  const versio = url.searchParams.get('v') || VERSIO;
  event.respondWith((async () => {
    const desat = await caches.match(new URL(nom in FITXERS ? nom : PAGINA, scope), { cacheName: `${PREFIX}${versio}` });
    if (desat) return desat;
    // Another build's file, no longer kept: the server has only the newest.
    if (versio !== VERSIO) return new Response(null, { status: 404 });
    return fetch(request);
  })());
});
