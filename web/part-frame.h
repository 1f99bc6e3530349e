// The frame of a part shown over the picture, for the page's tree.
#pragma once

// From the next picture on, draws over the scene the frame of the part with
// this id (as the tree names it: "turretFrame") with its origin and axes,
// and outlines what it and the parts under it draw; an empty id, or one
// the drawing does not name, draws nothing more.
void showPartFrame(const char *id);
