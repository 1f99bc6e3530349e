#pragma once

// One-time set-up once the window and its GL context exist: the start values
// of the application state and the fixed GL state.
void initScene();
