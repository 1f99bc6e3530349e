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
// (web/offline.js), so that no page ever runs on a mix of two builds.
self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

// The network first, so that a page served anew is the page served now;
// the kept set when the network cannot be reached. The worker's scope is
// the page's own folder, never the whole site. Looking in the set never
// makes it: a request that fails late, once a newer build has removed this
// one's set, must not leave an empty set behind.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).then(
    (response) => (event.request.mode === 'navigate' && response.status === 404 ? retireIfGone(response) : response),
    () => caches.match(event.request, { cacheName, ignoreSearch: true })
      .then((kept) => kept || Response.error())));
});

// The page is not found where it was: if this worker's own script is gone
// too, the page has left this address (another site is served there now),
// so the worker removes itself and what it kept, and the answer stands.
function retireIfGone(response) {
  return fetch(self.serviceWorker ? self.serviceWorker.scriptURL : self.location.href, { cache: 'no-store' })
    .then((script) => (script.status === 404 || script.status === 410 ? retire() : null), () => null)
    .then(() => response);
}

function retire() {
  return caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('tank-')).map((n) => caches.delete(n))))
    .then(() => self.registration.unregister());
}
