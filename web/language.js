// The page's words in English and in Portuguese, and which of the two it
// shows: the reader's choice where the browser keeps it, else the first of
// the browser's languages that is one of them. The program's own output
// (its help, its trace) is its own and never translated. Loaded first.
//
// The markup names its texts: data-text (the element's text), data-label
// (its aria-label) and data-title (its title). The scripts ask for theirs
// with text(name, ...values), where {0}, {1} stand for the values, and
// redo what they have written when the language changes (onChange).
window.pageLanguage = (function () {
  'use strict';
  var words = {
    en: {
      language: 'en',
      other: 'Português',
      otherTitle: 'Mudar a página para português',
      heading: 'Exemplo: a toy tank to drive, built as a tree of transforms',
      canvas: 'The tank, drawn by the program',
      lastFrame: 'The last frame the program drew',
      program: 'Program:',
      loading: 'loading',
      running: 'running',
      ended: 'ended with status {0}',
      stopped: 'stopped: {0}',
      lacksFs: "this build's runtime (emscripten {0}) lacks FS.init (link with -sFORCE_FILESYSTEM=1)",
      lacksExports: "this build's runtime (emscripten {0}) lacks the exported functions {1}",
      fullScreen: 'Full screen',
      leaveFullScreen: 'Leave full screen',
      onScreenKeys: 'On-screen keys',
      up: 'up: accelerate',
      left: 'left: steer left',
      down: 'down: brake, reverse',
      right: 'right: steer right',
      accelerate: 'accelerate',
      steerLeft: 'steer left',
      brakeReverse: 'brake, reverse',
      steerRight: 'steer right',
      turretLeft: 'turret left',
      turretRight: 'turret right',
      cannonUp: 'cannon up',
      cannonDown: 'cannon down',
      reset: 'reset',
      projection: 'projection',
      fill: 'fill',
      lines: 'lines',
      points: 'points',
      help: 'help',
      trace: 'trace',
      end: 'end',
      treeSummary: 'How the tank is built: its tree of transforms, live',
      tree: 'The tree of transforms',
      treeHint: 'Choose a part to see its frame in the picture: its origin, and its axes x (red), y (green) and z (blue), one unit of it long; what it draws is outlined in white. Choose it again to hide it.',
      consoleTitle: 'Console output',
      legend: 'Each line coloured by what printed it:',
      legendHelp: 'the help',
      legendReshape: 'reshape',
      legendKeys: 'the keys',
      legendStep: "the timer's step",
      hideSteps: 'Hide step lines',
      showSteps: 'Show step lines',
      keysTitle: 'Keys',
      keysHint: 'The keys drive the tank while its picture has the focus (a blue edge), as at the start. Tab moves on to the page, whose keys are then its own; a click, a tap or Tab back gives the keys to the tank. On a focused on-screen key, Space holds it and Enter taps it.',
      hold: '(hold)',
      keyUp: 'accelerate',
      keyDown: 'brake, then reverse',
      keySteer: 'steer the front wheels',
      keyTurret: 'turn the turret left / right',
      keyCannon: 'raise / lower the cannon',
      keyReset: 'put the tank back at its start',
      keyProjection: 'orthographic / perspective',
      keyModes: 'polygons filled / outlined / as points',
      keyHelp: 'print the key help again',
      keyTrace: 'console trace off / on',
      keyEnd: 'end the program',
      shareTitle: 'Share this drive',
      shareHint: 'The page records the keys of this drive and the steps they came between. Its link replays it from a fresh start in any browser: the same trace, byte for byte, and the same pictures.',
      share: 'Share this drive',
      replayFile: 'Replay a drive from a file:',
      sharedLink: 'Link to this drive ({0} steps):',
      saveFile: 'Save it as a file',
      replaying: 'Replaying a shared drive: step {0} of {1}.',
      stopReplay: 'Stop the replay',
      replayOver: 'The replay is over: the keys are yours again.',
      replayStopped: 'The replay was stopped at step {0} of {1}: the keys are yours again.',
      badLink: 'This link holds no drive this page can replay ({0}), so nothing was replayed.',
      badFile: 'That file holds no drive this page can replay ({0}), so nothing was replayed.',
      tooLong: 'This drive is too long to share: the page keeps the first million keys of a drive.',
      malformed: 'it is cut short or altered',
      foreign: 'it was made by another page or another version of this one',
      noWebGL: 'this browser gives the page no WebGL, which the program draws with: turn on hardware acceleration in its settings, or try another browser',
      sandboxed: 'the page is in a sandboxed frame that keeps it from loading its program: open {0} on its own.',
      cannotStart: 'the program could not start: {0}',
      notLoaded: 'the program could not be loaded: {0}. Check the connection, then retry.',
      didNotArrive: '{0} did not arrive',
      noConnection: 'no connection',
      stillLoading: 'still loading: the connection may be slow or gone.',
      retry: 'Retry',
      lost: 'the picture was lost (the browser reset its graphics).',
      startAgain: 'Start again',
    },
    pt: {
      language: 'pt',
      other: 'English',
      otherTitle: 'Show this page in English',
      heading: 'Exemplo: um tanque de brincar para conduzir, construído como uma árvore de transformações',
      canvas: 'O tanque, desenhado pelo programa',
      lastFrame: 'A última imagem que o programa desenhou',
      program: 'Programa:',
      loading: 'a carregar',
      running: 'a correr',
      ended: 'terminou com o estado {0}',
      stopped: 'parou: {0}',
      lacksFs: 'o runtime desta versão (emscripten {0}) não tem FS.init (ligue com -sFORCE_FILESYSTEM=1)',
      lacksExports: 'o runtime desta versão (emscripten {0}) não tem as funções exportadas {1}',
      fullScreen: 'Ecrã inteiro',
      leaveFullScreen: 'Sair do ecrã inteiro',
      onScreenKeys: 'Teclas no ecrã',
      up: 'cima: acelerar',
      left: 'esquerda: virar à esquerda',
      down: 'baixo: travar, recuar',
      right: 'direita: virar à direita',
      accelerate: 'acelerar',
      steerLeft: 'virar à esquerda',
      brakeReverse: 'travar, recuar',
      steerRight: 'virar à direita',
      turretLeft: 'torre para a esquerda',
      turretRight: 'torre para a direita',
      cannonUp: 'levantar o canhão',
      cannonDown: 'baixar o canhão',
      reset: 'reiniciar',
      projection: 'projeção',
      fill: 'preencher',
      lines: 'linhas',
      points: 'pontos',
      help: 'ajuda',
      trace: 'registo',
      end: 'terminar',
      treeSummary: 'Como o tanque é construído: a sua árvore de transformações, ao vivo',
      tree: 'A árvore de transformações',
      treeHint: 'Escolha uma parte para ver o seu referencial na imagem: a origem e os eixos x (vermelho), y (verde) e z (azul), com uma unidade dele de comprimento; o que ela desenha fica contornado a branco. Escolha-a de novo para o esconder.',
      consoleTitle: 'Saída da consola',
      legend: 'Cada linha com a cor de quem a escreveu:',
      legendHelp: 'a ajuda',
      legendReshape: 'o redimensionamento',
      legendKeys: 'as teclas',
      legendStep: 'o passo do temporizador',
      hideSteps: 'Esconder as linhas dos passos',
      showSteps: 'Mostrar as linhas dos passos',
      keysTitle: 'Teclas',
      keysHint: 'As teclas conduzem o tanque enquanto a imagem tem o foco (uma orla azul), como no início. Tab passa para a página, cujas teclas são então as dela; um clique, um toque ou Tab de volta devolve as teclas ao tanque. Numa tecla do ecrã com o foco, Espaço mantém-na premida e Enter carrega nela uma vez.',
      hold: '(manter)',
      keyUp: 'acelerar',
      keyDown: 'travar, depois recuar',
      keySteer: 'virar as rodas da frente',
      keyTurret: 'rodar a torre para a esquerda / direita',
      keyCannon: 'levantar / baixar o canhão',
      keyReset: 'repor o tanque no início',
      keyProjection: 'ortográfica / perspetiva',
      keyModes: 'polígonos preenchidos / em linhas / em pontos',
      keyHelp: 'escrever de novo a ajuda das teclas',
      keyTrace: 'registo na consola desligado / ligado',
      keyEnd: 'terminar o programa',
      shareTitle: 'Partilhar esta condução',
      shareHint: 'A página regista as teclas desta condução e os passos entre os quais vieram. A sua ligação repete-a desde um novo início em qualquer navegador: o mesmo registo, byte a byte, e as mesmas imagens.',
      share: 'Partilhar esta condução',
      replayFile: 'Repetir uma condução de um ficheiro:',
      sharedLink: 'Ligação para esta condução ({0} passos):',
      saveFile: 'Guardar num ficheiro',
      replaying: 'A repetir uma condução partilhada: passo {0} de {1}.',
      stopReplay: 'Parar a repetição',
      replayOver: 'A repetição terminou: as teclas voltam a ser suas.',
      replayStopped: 'A repetição parou no passo {0} de {1}: as teclas voltam a ser suas.',
      badLink: 'Esta ligação não tem uma condução que a página possa repetir ({0}), por isso nada foi repetido.',
      badFile: 'Esse ficheiro não tem uma condução que a página possa repetir ({0}), por isso nada foi repetido.',
      tooLong: 'Esta condução é longa demais para partilhar: a página guarda o primeiro milhão de teclas de uma condução.',
      malformed: 'está cortada ou alterada',
      foreign: 'foi feita por outra página ou por outra versão desta',
      noWebGL: 'este navegador não dá à página o WebGL com que o programa desenha: ligue a aceleração por hardware nas definições, ou experimente outro navegador',
      sandboxed: 'a página está numa moldura isolada que a impede de carregar o programa: abra {0} sozinha.',
      cannotStart: 'o programa não pôde começar: {0}',
      notLoaded: 'o programa não pôde ser carregado: {0}. Verifique a ligação e tente de novo.',
      didNotArrive: '{0} não chegou',
      noConnection: 'sem ligação',
      stillLoading: 'ainda a carregar: a ligação pode estar lenta ou em falta.',
      retry: 'Tentar de novo',
      lost: 'a imagem perdeu-se (o navegador reiniciou os gráficos).',
      startAgain: 'Começar de novo',
    },
  };

  // The tree's texts come from the program's diagram writer in English;
  // in Portuguese each is rewritten by the first rule that matches it
  // whole. {names} and numbers are kept as they are.
  var side = { left: 'esquerda', right: 'direita', front: 'da frente', rear: 'de trás' };
  var treeRules = [
    [/^push$/, 'empilha'],
    [/^pop$/, 'desempilha'],
    [/^translate (.*)$/, 'translada $1'],
    [/^scale (.*)$/, 'escala $1'],
    [/^rotate (.*) about ([XYZ])$/, 'roda $1 em torno de $2'],
    [/^world \(Z up\)$/, 'mundo (Z para cima)'],
    [/^ground: square (.*) at z = 0, grey (.*)$/, 'chão: quadrado $1 em z = 0, cinzento $2'],
    [/^tank frame$/, 'referencial do tanque'],
    [/^\(on the hull's centre, at ride height\)$/, '(no centro do casco, à altura de marcha)'],
    [/^(front|rear) (left|right) wheel$/, function (m, a, b) { return 'roda ' + side[a] + ' ' + side[b]; }],
    [/^cylinder radius (.*), length (.*)$/, 'cilindro de raio $1, comprimento $2'],
    [/^(\d+) slices, (\d+) stacks, black$/, '$1 fatias, $2 camadas, preto'],
    [/^body frame$/, 'referencial do corpo'],
    [/^\(pitched and rolled\)$/, '(com arfagem e rolamento)'],
    [/^hull$/, 'casco'],
    [/^box (.*)$/, 'caixa $1'],
    [/^red front, blue back, green right,$/, 'frente vermelha, trás azul, direita verde,'],
    [/^yellow left, magenta top, cyan bottom$/, 'esquerda amarela, topo magenta, base ciano'],
    [/^turret frame$/, 'referencial da torre'],
    [/^turret$/, 'torre'],
    [/^cannon frame$/, 'referencial do canhão'],
    [/^\(pivot on the turret's front face\)$/, '(eixo na face da frente da torre)'],
    [/^cannon$/, 'canhão'],
  ];

  // A tree text in a language; null where Portuguese has no rule for it.
  function treeText(english, language) {
    if (language === 'en') return english;
    for (var i = 0; i < treeRules.length; i++) {
      if (treeRules[i][0].test(english)) return english.replace(treeRules[i][0], treeRules[i][1]);
    }
    return null;
  }

  // The first of the reader's languages the page has, else English.
  function fromBrowser(languages) {
    for (var i = 0; i < languages.length; i++) {
      var base = String(languages[i]).toLowerCase().split('-')[0];
      if (base in words) return base;
    }
    return 'en';
  }

  var key = 'tank-language';
  var chosen = null;
  try {
    chosen = localStorage.getItem(key);
  } catch (error) {
    // no storage here (a sandboxed frame, storage turned off)
  }
  if (!(chosen in words)) chosen = fromBrowser(navigator.languages || [navigator.language || 'en']);

  function text(name) {
    var values = arguments;
    var template = words[chosen][name];
    if (template === undefined) throw new Error('the page has no text "' + name + '"');
    return template.replace(/\{(\d)\}/g, function (m, i) { return values[Number(i) + 1]; });
  }

  var changes = [];
  // A message written into an element (the status line, the replay's
  // line), with a button that does something where something can be done:
  // message() gives the words and label names the button's text, and both
  // are written again when the language changes. Returns what it says.
  var sayings = new Map();  // element: { message, label, action }
  function say(element, message, label, action) {
    var saying = { message: message, label: label, action: action };
    sayings.set(element, saying);
    element.textContent = message();
    if (label) {
      var button = document.createElement('button');
      button.type = 'button';
      button.textContent = text(label);
      button.addEventListener('click', action);
      element.append(' ', button);
    }
    return saying;
  }
  changes.push(function () {
    sayings.forEach(function (s, element) { say(element, s.message, s.label, s.action); });
  });

  function apply() {
    document.documentElement.lang = chosen;
    document.querySelectorAll('[data-text]').forEach(function (e) { e.textContent = text(e.dataset.text); });
    document.querySelectorAll('[data-label]').forEach(function (e) { e.setAttribute('aria-label', text(e.dataset.label)); });
    document.querySelectorAll('[data-title]').forEach(function (e) { e.title = text(e.dataset.title); });
    changes.forEach(function (change) { change(); });
  }

  // The switch: the other language, remembered where the browser allows.
  function choose(language) {
    if (!(language in words)) return;
    chosen = language;
    try {
      localStorage.setItem(key, language);
    } catch (error) {
      // not remembered: the next visit follows the browser again
    }
    apply();
  }
  var button = document.getElementById('language');
  button.addEventListener('click', function () { choose(chosen === 'en' ? 'pt' : 'en'); });
  changes.push(function () { button.lang = chosen === 'en' ? 'pt' : 'en'; });
  apply();

  return {
    text: text,
    say: say,
    treeText: function (english) { return treeText(english, chosen) || english; },
    onChange: function (change) { changes.push(change); },
    current: function () { return chosen; },
    // For the checks: every text, the tree's rules, and the choice.
    words: words,
    translateTree: treeText,
    fromBrowser: fromBrowser,
  };
})();
