// GLUT keyboard callbacks. Keys that drive continuous motion only record that
// they are held; the simulation step acts on them. The others act at once.
// With the trace on, every press and release is echoed.
#pragma once

void onKeyDown(unsigned char key, int mouseX, int mouseY);
void onKeyUp(unsigned char key, int mouseX, int mouseY);
void onSpecialDown(int key, int mouseX, int mouseY);
void onSpecialUp(int key, int mouseX, int mouseY);
