// Keeps the whole site for playing offline. The build names the cache by
// the content of every file, so a new build replaces it on the next visit:
// it is fetched then, and takes over once no page of the old one is open,
// so that no page ever mixes the files of two builds.
'use strict';

const CACHE = '@VERSION@';
const FILES = ['@FILES@'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name)))));
});

// The cache first, for every request of the site's own; the network only
// for what it lacks.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((hit) => hit || fetch(event.request)));
});
