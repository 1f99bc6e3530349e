// The plain page for make bench-web: the page's markup and style with, in
// place of the program and the page's modules, one plain WebGL context that
// draws about as many triangles as the tank and writes a line like the
// trace's every 20 ms. What a page costs a phone with no emscripten and no
// GL of its own.
(function () {
  var canvas = document.getElementById('canvas');
  var trace = document.getElementById('trace');
  var gl = canvas.getContext('webgl', { antialias: false });
  if (!gl) {
    document.getElementById('status').textContent = 'no WebGL';
    return;
  }
  var shader = function (type, source) {
    var s = gl.createShader(type);
    gl.shaderSource(s, source);
    gl.compileShader(s);
    return s;
  };
  var program = gl.createProgram();
  gl.attachShader(program, shader(gl.VERTEX_SHADER,
    'attribute vec4 p; attribute vec3 c; varying vec3 v; void main() { gl_Position = p; v = c; }'));
  gl.attachShader(program, shader(gl.FRAGMENT_SHADER,
    'precision mediump float; varying vec3 v; void main() { gl_FragColor = vec4(v, 1.0); }'));
  gl.linkProgram(program);
  gl.useProgram(program);
  // About as many triangles as the tank's frame (its boxes, ground and
  // wheels), as a fan of slices.
  var triangles = 150;
  var data = new Float32Array(triangles * 3 * 7);
  gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
  gl.vertexAttribPointer(gl.getAttribLocation(program, 'p'), 4, gl.FLOAT, false, 28, 0);
  gl.vertexAttribPointer(gl.getAttribLocation(program, 'c'), 3, gl.FLOAT, false, 28, 16);
  gl.enableVertexAttribArray(gl.getAttribLocation(program, 'p'));
  gl.enableVertexAttribArray(gl.getAttribLocation(program, 'c'));
  gl.enable(gl.DEPTH_TEST);
  var step = 0;
  var put = function (at, angle, radius) {
    data.set([radius * Math.cos(angle), radius * Math.sin(angle), 0, 1, 0.5, 0.5 + 0.5 * Math.sin(angle), 0.3], at);
  };
  function tick() {
    step += 1;
    for (var i = 0; i < triangles; i++) {
      var a = (i / triangles) * 2 * Math.PI + step * 0.01;
      data.set([0, 0, 0, 1, 0.4, 0.4, 0.4], i * 21);
      put(i * 21 + 7, a, 0.8);
      put(i * 21 + 14, a + (2 * Math.PI) / triangles, 0.8);
    }
    gl.viewport(0, 0, canvas.width, canvas.height);
    gl.clearColor(0.5, 0.5, 0.5, 1);
    gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
    gl.bufferData(gl.ARRAY_BUFFER, data, gl.STREAM_DRAW);
    gl.drawArrays(gl.TRIANGLES, 0, triangles * 3);
    trace.appendChild(document.createTextNode('Passo ' + step + ' Velocidade 0.00 Direccao 0.00\n'));
    if (trace.childNodes.length > 500) trace.removeChild(trace.firstChild);
  }
  document.getElementById('status').textContent = 'running';
  tick();
  performance.mark('first-frame');
  setInterval(tick, 20);
}());
