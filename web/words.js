// The page's words in English and in Portuguese, and the rules that give
// the tree's texts in Portuguese. Nothing here touches the page, so that
// the tables and rules can be checked anywhere (tests/page/).
//
// A text names its values {0}, {1}; fill() puts them in.
export const words = {
  en: {
    language: 'en',
    other: 'Português',
    otherTitle: 'Mudar a página para português',
    heading: 'a toy tank to drive, built as a tree of transforms',
    canvas: 'The tank, drawn by the program',
    lastFrame: 'The last picture the program drew',
    program: 'Program:',
    loading: 'loading',
    running: 'running',
    ended: 'ended (exit code {0})',
    stopped: 'stopped: {0}',
    lacksExports: "this build's runtime (emscripten {0}) lacks the exported functions {1}",
    fullScreen: 'Full screen',
    describe: 'Describe the picture (W)',
    onScreenKeys: 'On-screen keys',
    accelerate: 'accelerate',
    steerLeft: 'steer the front wheels left',
    brakeReverse: 'brake, then reverse',
    steerRight: 'steer the front wheels right',
    turretLeft: 'turn the turret left',
    turretRight: 'turn the turret right',
    cannonUp: 'raise the cannon',
    cannonDown: 'lower the cannon',
    reset: 'put the tank back where it started',
    projection: 'switch between orthographic and perspective projection',
    fill: 'fill the polygons',
    lines: "draw the polygons' outlines",
    points: 'draw the polygons as points',
    help: 'print the key help again',
    trace: 'turn the console trace off or on',
    end: 'end the program (exit code 1)',
    treeSummary: 'How the tank is built: its tree of transforms, live',
    tree: 'The tree of transforms',
    treeHint: "Choose a part to see its frame in the picture: the frame's origin and its axes x (red), y (green) and z (blue), each one of the frame's units long; what the part draws is outlined in white. Choose the part again to hide its frame.",
    consoleTitle: 'Console output',
    legend: 'Each line is coloured by the part of the program that printed it:',
    legendHelp: 'the help',
    legendReshape: 'the reshape function',
    legendKeys: 'the keys',
    legendStep: "the timer's tick",
    hideSteps: 'Hide the tick lines',
    keysTitle: 'Keys',
    helpNote: 'The program\'s own help, in the console, is in Portuguese as it was spelled before 1990 ("projecção", today "projeção"), and most of its words are written without their accents ("canhao", "Poligono"). It also says that ← turns the wheels to the right and → to the left; in fact ← steers left and → steers right, as this table says.',
    keysHint: 'The keys drive the tank while its picture has the focus, shown by a blue edge; it has the focus when the page opens. Tab moves the focus on to the rest of the page, where the keys do what they do on any page. A click or a tap on the picture, or Shift+Tab back to it, gives the keys to the tank again. On an on-screen key that has the focus, Space holds the key down and Enter presses it once. W, anywhere on the page, describes the picture in words.',
    hold: '(hold)',
    description: 'The tank is at x {0}, y {1}, {2}, {3}. Its front wheels {4}. The turret points {5}, and the cannon {6}. The projection is {7}, and the polygons are {8}.',
    facingAhead: 'facing along +y',
    facingLeft: 'facing {0}° to the left of +y',
    facingRight: 'facing {0}° to the right of +y',
    atRest: 'at rest',
    forwards: 'moving forwards at {0} units a tick',
    backwards: 'reversing at {0} units a tick',
    wheelsAhead: 'point straight ahead',
    wheelsLeft: 'are turned {0}° to the left',
    wheelsRight: 'are turned {0}° to the right',
    aimAhead: 'along the hull',
    aimLeft: '{0}° to the left of the hull',
    aimRight: '{0}° to the right of the hull',
    cannonLevel: 'is level',
    cannonRaised: 'is raised {0}°',
    orthographic: 'orthographic',
    perspective: 'perspective',
    modeFill: 'filled',
    modeLine: 'drawn as outlines',
    modePoint: 'drawn as points',
    shareTitle: 'Share a recording of your driving',
    shareHint: 'The page records the keys you press, each with the tick of the timer it came at. A link to the recording replays it from a fresh start in any browser: the same console trace, byte for byte, and the same pictures.',
    share: 'Share this recording',
    replayFile: 'Replay a recording from a file:',
    sharedLink: 'Link to this recording ({0} ticks):',
    saveFile: 'Save it as a file',
    replaying: 'Replaying a shared recording: tick {0} of {1}.',
    stopReplay: 'Stop the replay',
    replayOver: 'The replay is over: the keys are yours again.',
    replayEnded: 'The recording ended the program (ESC) at tick {0} of {1}, as it did when it was made.',
    replayStopped: 'The replay was stopped at tick {0} of {1}: the keys are yours again.',
    badLink: 'This link holds no recording this page can replay ({0}), so nothing was replayed.',
    badFile: 'That file holds no recording this page can replay ({0}), so nothing was replayed.',
    cannotShare: 'This recording cannot be shared: {0}.',
    malformed: 'it is cut short or altered',
    foreign: 'it was made by another page or another version of this one',
    longDrive: 'it lasts longer than a day',
    crowded: 'it has more keys at one tick than a person can press at once',
    longLink: 'it is longer than some browsers accept as an address',
    bigFile: "it is far larger than a recording's file",
    unreadable: 'the browser could not read it; it may have been moved or removed',
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
    shapeSummary: "Change the tank's shape: the numbers of tankShape",
    shapeHint: 'Each number of the shape (render/tank_shape.cpp), by its name in the code and grouped by the part it shapes: move a slider or type a number and the picture, the tree and the chosen part\'s frame follow at once. The keys still drive the tank; the console trace does not change.',
    shapeReset: 'Reset shape',
    shapeCopy: 'Copy the shape as C++',
    shapeShare: 'Share this shape',
    shapeLinkIs: 'Link to this shape:',
    shapeCpp: 'The shape as C++, to put in render/tank_shape.cpp',
    shapeCopied: 'The shape is copied as C++: put it in render/tank_shape.cpp in place of what is there, then build with make run.',
    shapeSelect: 'The browser did not let the page copy: select the C++ below and copy it, then put it in render/tank_shape.cpp in place of what is there.',
    shapeNoSource: "The page cannot write this build's shape as C++.",
    shapeRefused: 'The program refused a number outside its range; the shape keeps what it had.',
    shapeIsReset: 'The shape is back to the built-in numbers.',
    badShapeLink: "This link's shape cannot be used ({0}), so the tank keeps its built-in shape.",
    unknown: 'it names a number the shape does not have, or one twice',
    outOfRange: 'a number is outside what its control allows',
    wheelsGroup: 'all four wheels',
    codeSummary: "The drawing's code: drawTank()",
    codeHint: 'As the program was built. Choose a part or a step in the tree to mark the lines that made it; a number of the shape in the code leads to its control.',
    code: "drawTank(), the drawing's code",
  },
  pt: {
    language: 'pt',
    other: 'English',
    otherTitle: 'Show this page in English',
    heading: 'um tanque de brincar para conduzir, construído como uma árvore de transformações',
    canvas: 'O tanque, desenhado pelo programa',
    lastFrame: 'A última imagem que o programa desenhou',
    program: 'Programa:',
    loading: 'a carregar',
    running: 'a correr',
    ended: 'terminou (código de saída {0})',
    stopped: 'parou: {0}',
    lacksExports: 'o runtime desta versão (emscripten {0}) não tem as funções exportadas {1}',
    fullScreen: 'Ecrã inteiro',
    describe: 'Descrever a imagem (W)',
    onScreenKeys: 'Teclas no ecrã',
    accelerate: 'acelerar',
    steerLeft: 'virar as rodas dianteiras para a esquerda',
    brakeReverse: 'travar, depois recuar',
    steerRight: 'virar as rodas dianteiras para a direita',
    turretLeft: 'rodar a torre para a esquerda',
    turretRight: 'rodar a torre para a direita',
    cannonUp: 'levantar o canhão',
    cannonDown: 'baixar o canhão',
    reset: 'pôr o tanque de novo no ponto de partida',
    projection: 'alternar entre projeção ortográfica e em perspetiva',
    fill: 'preencher os polígonos',
    lines: 'desenhar o contorno dos polígonos',
    points: 'desenhar os polígonos como pontos',
    help: 'escrever de novo a ajuda das teclas',
    trace: 'desligar ou ligar o registo na consola',
    end: 'terminar o programa (código de saída 1)',
    treeSummary: 'Como o tanque é construído: a sua árvore de transformações, ao vivo',
    tree: 'A árvore de transformações',
    treeHint: 'Escolha uma parte para ver o seu referencial na imagem: a origem do referencial e os eixos x (vermelho), y (verde) e z (azul), cada um com o comprimento de uma unidade do referencial; o que a parte desenha fica contornado a branco. Escolha de novo a parte para esconder o referencial.',
    consoleTitle: 'Saída da consola',
    legend: 'Cada linha tem a cor da parte do programa que a escreveu:',
    legendHelp: 'a ajuda',
    legendReshape: 'a função reshape',
    legendKeys: 'as teclas',
    legendStep: 'o ciclo do temporizador',
    hideSteps: 'Esconder as linhas dos ciclos',
    keysTitle: 'Teclas',
    helpNote: 'A ajuda do próprio programa, na consola, segue a ortografia anterior a 1990 («projecção», hoje «projeção»), e a maior parte das palavras está escrita sem acentos («canhao», «Poligono»). Diz também que ← vira as rodas para a direita e → para a esquerda; na verdade, ← vira à esquerda e → vira à direita, como diz esta tabela.',
    keysHint: 'As teclas conduzem o tanque enquanto a imagem tem o foco, assinalado por uma orla azul; a imagem tem-no quando a página abre. Tab passa o foco para o resto da página, onde as teclas fazem o que fazem em qualquer página. Um clique ou um toque na imagem, ou Shift+Tab até ela, devolve as teclas ao tanque. Numa tecla do ecrã que tenha o foco, Espaço mantém a tecla premida e Enter prime-a uma vez. W, em qualquer ponto da página, descreve a imagem por palavras.',
    hold: '(manter)',
    description: 'O tanque está na posição x = {0}; y = {1}. Está {2} e {3}. As rodas dianteiras {4}. A torre aponta {5}, e o canhão {6}. A projeção é {7}, e os polígonos estão {8}.',
    facingAhead: 'virado para +y',
    facingLeft: 'virado {0}° à esquerda de +y',
    facingRight: 'virado {0}° à direita de +y',
    atRest: 'parado',
    forwards: 'a avançar a {0} unidades por ciclo',
    backwards: 'a recuar a {0} unidades por ciclo',
    wheelsAhead: 'estão direitas',
    wheelsLeft: 'estão viradas {0}° para a esquerda',
    wheelsRight: 'estão viradas {0}° para a direita',
    aimAhead: 'ao longo do casco',
    aimLeft: '{0}° à esquerda do casco',
    aimRight: '{0}° à direita do casco',
    cannonLevel: 'está na horizontal',
    cannonRaised: 'está levantado {0}°',
    orthographic: 'ortográfica',
    perspective: 'em perspetiva',
    modeFill: 'preenchidos',
    modeLine: 'desenhados como contornos',
    modePoint: 'desenhados como pontos',
    shareTitle: 'Partilhar uma gravação da sua condução',
    shareHint: 'A página grava as teclas que prime, cada uma com o ciclo do temporizador em que chegou. Uma ligação para a gravação repete-a desde um novo início, em qualquer navegador: o mesmo registo na consola, byte a byte, e as mesmas imagens.',
    share: 'Partilhar esta gravação',
    replayFile: 'Repetir uma gravação guardada num ficheiro:',
    sharedLink: 'Ligação para esta gravação ({0} ciclos):',
    saveFile: 'Guardar num ficheiro',
    replaying: 'A repetir uma gravação partilhada: ciclo {0} de {1}.',
    stopReplay: 'Parar a repetição',
    replayOver: 'A repetição terminou: as teclas voltam a ser suas.',
    replayEnded: 'A gravação terminou o programa (ESC) no ciclo {0} de {1}, tal como quando foi feita.',
    replayStopped: 'A repetição parou no ciclo {0} de {1}: as teclas voltam a ser suas.',
    badLink: 'Esta ligação não contém uma gravação que a página possa repetir ({0}), por isso nada foi repetido.',
    badFile: 'Esse ficheiro não contém uma gravação que a página possa repetir ({0}), por isso nada foi repetido.',
    cannotShare: 'Esta gravação não pode ser partilhada: {0}.',
    malformed: 'a gravação foi cortada ou alterada',
    foreign: 'a gravação foi feita por outra página ou por outra versão desta',
    longDrive: 'a gravação dura mais de um dia',
    crowded: 'a gravação tem mais teclas num só ciclo do que uma pessoa consegue premir de uma vez',
    longLink: 'a ligação é mais longa do que alguns navegadores aceitam como endereço',
    bigFile: 'o ficheiro é muito maior do que o de uma gravação',
    unreadable: 'o navegador não o conseguiu ler; pode ter sido movido ou apagado',
    noWebGL: 'este navegador não dá à página o WebGL com que o programa desenha: ligue a aceleração por hardware nas definições, ou experimente outro navegador',
    sandboxed: 'a página está numa moldura isolada que a impede de carregar o programa: abra {0} num separador próprio.',
    cannotStart: 'o programa não pôde começar: {0}',
    notLoaded: 'o programa não pôde ser carregado: {0}. Verifique a rede e tente de novo.',
    didNotArrive: '{0} não chegou',
    noConnection: 'sem rede',
    stillLoading: 'ainda a carregar: a rede pode estar lenta ou em falta.',
    retry: 'Tentar de novo',
    lost: 'a imagem perdeu-se (o navegador reiniciou os gráficos).',
    startAgain: 'Começar de novo',
    shapeSummary: 'Mudar a forma do tanque: os números de tankShape',
    shapeHint: 'Cada número da forma (render/tank_shape.cpp), pelo seu nome no código e agrupado pela parte a que dá forma: mova um cursor ou escreva um número e a imagem, a árvore e o referencial da parte escolhida acompanham de imediato. As teclas continuam a conduzir o tanque; o registo na consola não muda.',
    shapeReset: 'Repor a forma',
    shapeCopy: 'Copiar a forma em C++',
    shapeShare: 'Partilhar esta forma',
    shapeLinkIs: 'Ligação para esta forma:',
    shapeCpp: 'A forma em C++, para pôr em render/tank_shape.cpp',
    shapeCopied: 'A forma foi copiada em C++: ponha-a em render/tank_shape.cpp no lugar do que lá está e construa com make run.',
    shapeSelect: 'O navegador não deixou a página copiar: selecione o C++ abaixo e copie-o, depois ponha-o em render/tank_shape.cpp no lugar do que lá está.',
    shapeNoSource: 'A página não consegue escrever em C++ a forma desta versão.',
    shapeRefused: 'O programa recusou um número fora do seu intervalo; a forma mantém o que tinha.',
    shapeIsReset: 'A forma voltou aos números de origem.',
    badShapeLink: 'A forma desta ligação não pode ser usada ({0}), por isso o tanque mantém a sua forma de origem.',
    unknown: 'indica um número que a forma não tem, ou o mesmo duas vezes',
    outOfRange: 'um número está fora do que o seu controlo permite',
    wheelsGroup: 'as quatro rodas',
    codeSummary: 'O código do desenho: drawTank()',
    codeHint: 'Tal como o programa foi construído. Escolha uma parte ou um passo na árvore para marcar as linhas que o fizeram; um número da forma no código leva ao seu controlo.',
    code: 'drawTank(), o código do desenho',
  },
};

// The tree's texts come from the drawing in English (gl/tools/gl.cpp): each
// part by the id the drawing makes of its name, in Portuguese here (a new
// part needs its name added), and the steps and shapes by one rule for
// each kind, the first that matches it whole. {names} and numbers are kept
// as they are.
const partNames = {
  world: 'mundo',
  tankFrame: 'referencial do tanque',
  frontRightWheel: 'roda dianteira direita',
  rearRightWheel: 'roda traseira direita',
  frontLeftWheel: 'roda dianteira esquerda',
  rearLeftWheel: 'roda traseira esquerda',
  bodyFrame: 'referencial do corpo',
  hull: 'casco',
  turretFrame: 'referencial da torre',
  turret: 'torre',
  cannonFrame: 'referencial do canhão',
  cannon: 'canhão',
};
const treeRules = [
  [/^push$/, 'empilhamento'],
  [/^pop$/, 'desempilhamento'],
  [/^translate (.*)$/, 'translação $1'],
  [/^scale (.*)$/, 'escala $1'],
  [/^rotate (.*) about (\S+)$/, 'rotação de $1 em torno de $2'],
  [/^1 polygon$/, '1 polígono'],
  [/^(\d+) polygons$/, '$1 polígonos'],
  [/^cylinder radius (.*), length (.*)$/, 'cilindro de raio $1, comprimento $2'],
  [/^(\d+) slices, (\d+) stacks$/, '$1 fatias, $2 camadas'],
];

// A tree text in a language, a part's name by the part's id; null where
// Portuguese has no name or rule for it.
export function treeText(english, language, partId = null) {
  if (language === 'en') return english;
  if (partId !== null) return Object.hasOwn(partNames, partId) ? partNames[partId] : null;
  const rule = treeRules.find(([pattern]) => pattern.test(english));
  return rule ? english.replace(rule[0], rule[1]) : null;
}

// The first of the reader's languages the page has, else English.
export function fromBrowser(languages) {
  for (const language of languages) {
    const base = String(language).toLowerCase().split('-')[0];
    if (base in words) return base;
  }
  return 'en';
}

// A text of a language with its values: fill('en', 'ended', 1).
export function fill(language, name, ...values) {
  const template = words[language][name];
  if (template === undefined) throw new Error(`the page has no text "${name}"`);
  return template.replace(/\{(\d)\}/g, (m, i) => values[Number(i)]);
}

// An angle in degrees as a turn to the left (positive, as GL's rotations
// about +z turn) or to the right of straight ahead, rounded to a degree:
// -180 < turn <= 180.
function turnOf(degrees) {
  let turn = Math.round(degrees) % 360;
  if (turn > 180) turn -= 360;
  if (turn <= -180) turn += 360;
  return turn === 0 ? 0 : turn;
}
function turnWords(language, degrees, ahead, left, right) {
  const turn = turnOf(degrees);
  if (turn === 0) return fill(language, ahead);
  return fill(language, turn > 0 ? left : right, Math.abs(turn));
}

// What the picture shows, in words: values are the model's as the tree
// shows them ({ x, y, speed, heading, wheelAngle, turretAngle,
// cannonAngle }, numbers), view how it is drawn ({ projection:
// 'orthographic' or 'perspective', mode: 'fill', 'line' or 'point' }).
export function describePicture(values, view, language) {
  const number = new Intl.NumberFormat(language, { minimumFractionDigits: 2, maximumFractionDigits: 2, useGrouping: false });
  const speed = Math.round(values.speed * 100) / 100;
  let motion = fill(language, 'atRest');
  if (speed !== 0) motion = fill(language, speed > 0 ? 'forwards' : 'backwards', number.format(Math.abs(speed)));
  const cannon = Math.round(values.cannonAngle);
  const modes = { fill: 'modeFill', line: 'modeLine', point: 'modePoint' };
  return fill(language, 'description',
    number.format(values.x), number.format(values.y),
    turnWords(language, values.heading, 'facingAhead', 'facingLeft', 'facingRight'),
    motion,
    turnWords(language, values.wheelAngle, 'wheelsAhead', 'wheelsLeft', 'wheelsRight'),
    turnWords(language, values.turretAngle, 'aimAhead', 'aimLeft', 'aimRight'),
    cannon === 0 ? fill(language, 'cannonLevel') : fill(language, 'cannonRaised', cannon),
    fill(language, view.projection),
    fill(language, modes[view.mode]));
}
