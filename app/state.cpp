#include "app/state.h"

TankModel tankModel;
AppState appState;

void resetModel()
{
    tankModel.x = 0;
    tankModel.y = 0;
    tankModel.speed = 0;
    tankModel.heading = 0;
    tankModel.wheelAngle = 0;
    tankModel.turretAngle = 0;
    tankModel.cannonAngle = 0;
}

void initState()
{
    appState.tickMillis = 20;
    appState.debug = true;
    appState.camera = Camera{{40, 40, 40}, {0, 0, 0}, {0, 0, 1}};
    appState.orthographic = true;
    appState.fieldOfView = 60;
    appState.keys = KeyState{};
    resetModel();
}
