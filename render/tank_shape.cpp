#include "render/tank_shape.h"

TankShape tankShape = {
    2.8f,  // rearAxleY
    0.7f,  // rideHeight
    {
        {"front right wheel", 2.0f, 2.8f, -0.2f, true},
        {"rear right wheel", 2.0f, -2.8f, -0.2f, false},
        {"front left wheel", -2.4f, 2.8f, -0.2f, true},
        {"rear left wheel", -2.4f, -2.8f, -0.2f, false},
    },
    90,               // wheelTurn
    0.5,              // wheelRadius
    0.4,              // wheelWidth
    20,               // wheelSlices
    2,                // wheelStacks
    6.0,              // pitchPerSpeed
    2.0,              // rollPerTurn
    {4, 7, 1},        // hull
    0.75f,            // turretLift
    {2, 2, 0.5f},     // turret
    1,                // cannonPivotY
    2,                // cannonReachY
    {0.4f, 4, 0.4f},  // cannon
    25,               // groundHalf
    0.5f,             // groundGrey
};
