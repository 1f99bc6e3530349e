// What the page's GL draws for the page besides the scene, and what it
// tells the page of how the scene is drawn.
#pragma once

// From the next frame on, draws over the scene the frame of the part with
// this id (as the tree names it: "turretFrame") with its origin and axes,
// and outlines what it and the parts under it draw; an empty id, or one
// the drawing does not name, draws nothing more.
void showPartFrame(const char *id);

// How polygons are drawn now, as glPolygonMode last set it: "fill", "line"
// or "point".
const char *polygonModeName();
