// What the browser's drawing does for the page besides the scene.
#pragma once

// From the next frame on, draws over the scene the frame of a part of the
// tree (its place in the order the drawing reaches the parts) with its
// origin and axes, and outlines what the parts whose places are set in
// marked draw; -1 draws nothing more.
void showPartFrame(int part, unsigned marked);
