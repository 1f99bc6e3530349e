// Full screen for the canvas and the on-screen keys; the button, or the
// browser's own Escape, leaves it again.
var stage = document.getElementById('stage');
var fullscreen = document.getElementById('fullscreen');
if (!stage.requestFullscreen) fullscreen.hidden = true;
fullscreen.addEventListener('click', function () {
  if (document.fullscreenElement) document.exitFullscreen();
  else stage.requestFullscreen().catch(function () {});
  document.getElementById('canvas').focus();
});
// One label; whether it is on is the button's pressed state.
document.addEventListener('fullscreenchange', function () {
  fullscreen.setAttribute('aria-pressed', String(document.fullscreenElement === stage));
});
