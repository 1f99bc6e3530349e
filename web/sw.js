// The page's service worker: it keeps every file of the page, as one set
// from one build, so that the page loads and runs with the network gone.
// The build writes the set and its name (a hash of the files' contents)
// into the two lines below (web/assemble.mjs).
const cacheName = 'tank-@BUILD@';
const files = ['./', @FILES@];

// The whole set or nothing: addAll fails if any file fails.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)));
});

// Only this build's set is kept.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('tank-') && n !== cacheName)
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// A new build waits until the page says it has everything it will load
// (web/page.js), so that no page ever runs on a mix of two builds.
self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

// From the set first, from the network for anything else.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
