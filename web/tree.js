// The live tree of transforms beside the canvas: the tree the drawing
// applies, as the program's own diagram writer describes it (render/
// diagram.cpp, the same as docs/tank.svg; the build writes it into the
// page), with the model's values as the frame on the screen used them.
// Loaded after web/page.js; it asks the program for the values when the
// page writes itself.
(function () {
  'use strict';
  var panel = document.getElementById('tree');
  var shown = {};  // name: the text it shows now
  var showing = {};  // name: the elements that show it
  var lit = [];  // [element, time] of steps whose value just changed
  var dimTimer = null;
  var litFor = 600;  // ms a changed step stays marked

  // A step, its model values ({name}) each shown as its name and a number.
  function stepItem(step) {
    var item = document.createElement('li');
    step.split(/(\{\w+\})/).forEach(function (part) {
      var name = /^\{(\w+)\}$/.exec(part);
      if (!name) {
        if (part) item.appendChild(document.createTextNode(part));
        return;
      }
      var live = document.createElement('span');
      live.className = 'live';
      var label = document.createElement('var');
      label.textContent = name[1];
      var value = document.createElement('b');
      value.setAttribute('data-model', name[1]);
      value.textContent = '0.00';
      live.append(label, ' ', value);
      item.appendChild(live);
      (showing[name[1]] = showing[name[1]] || []).push(value);
    });
    return item;
  }

  function build(nodes) {
    var lists = {};
    var root = document.createElement('ul');
    nodes.forEach(function (node) {
      var item = document.createElement('li');
      item.className = node.drawn ? 'drawn' : 'frame';
      if (node.steps.length) {
        var steps = document.createElement('ol');
        steps.className = 'steps';
        node.steps.forEach(function (step) { steps.appendChild(stepItem(step)); });
        item.appendChild(steps);
      }
      var label = document.createElement('div');
      label.className = 'part';
      label.textContent = node.label.join('\n');
      item.appendChild(label);
      lists[node.id] = document.createElement('ul');
      item.appendChild(lists[node.id]);
      (node.parent ? lists[node.parent] : root).appendChild(item);
    });
    panel.appendChild(root);
  }

  // With the page's other writes (web/page.js), from the frame just drawn:
  // only what changed is written, and its step lit.
  function update() {
    var words = Module.UTF8ToString(Module._webModelText()).split(' ');
    var now = performance.now();
    for (var i = 0; i + 1 < words.length; i += 2) {
      var name = words[i];
      var value = words[i + 1];
      if (shown[name] === value || !showing[name]) continue;
      shown[name] = value;
      showing[name].forEach(function (element) {
        element.textContent = value;
        var step = element.closest('li');
        if (!step.classList.contains('changed')) step.classList.add('changed');
        lit.push([step, now]);
      });
    }
    if (lit.length && dimTimer === null) dimTimer = setTimeout(dim, litFor);
  }

  function dim() {
    dimTimer = null;
    var now = performance.now();
    var latest = new Map();
    lit.forEach(function (entry) { latest.set(entry[0], entry[1]); });
    lit = [];
    latest.forEach(function (time, step) {
      if (now - time >= litFor) step.classList.remove('changed');
      else lit.push([step, time]);
    });
    if (lit.length) dimTimer = setTimeout(dim, litFor / 2);
  }

  Module['postRun'] = [].concat(Module['postRun'] || [], function () {
    var tree = document.getElementById('tank-tree').textContent;
    if (!tree || typeof Module._webModelText !== 'function') {
      panel.closest('details').hidden = true;  // a program with no tree (the bench's floor)
      return;
    }
    build(JSON.parse(tree));
    window.pageWriters.push(update);
    update();
  });
})();
