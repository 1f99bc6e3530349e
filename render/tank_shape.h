// The tank's measurements: sizes of its boxes and wheels and where each part
// sits in its parent's frame, in world units and degrees. One record, read
// by the drawing on every frame and by the diagram of the tank in docs/, so
// the two cannot disagree; the page lets its numbers be changed as it runs.
#pragma once

// A part's place in the tank frame, and whether it steers with wheelAngle.
struct WheelMount {
    const char *name;
    float x, y, z;
    bool steers;
};

// A unit cube scaled into a box: width along X, length along Y, height
// along Z.
struct BoxSize {
    float width, length, height;
};

struct TankShape {
    float rearAxleY;       // the heading turns about (0, -rearAxleY, 0)
    float rideHeight;      // lifts the frame so the wheels touch z = 0
    WheelMount wheels[4];  // in drawing order
    float wheelTurn;       // degrees about Y: the cylinder's axis from +Z to +X
    double wheelRadius;    // cylinder radius, both ends
    double wheelWidth;     // cylinder length along its axis
    int wheelSlices;       // facets round the cylinder
    int wheelStacks;       // bands along it
    double pitchPerSpeed;  // degrees about X per unit of speed
    double rollPerTurn;    // degrees about Y per unit of speed times wheelAngle
    BoxSize hull;
    float turretLift;  // the turret frame's height above the hull frame
    BoxSize turret;
    float cannonPivotY;  // the pivot: middle of the turret's front face
    float cannonReachY;  // from the pivot to the barrel's centre
    BoxSize cannon;
    float groundHalf;  // the ground square reaches this far each way
    float groundGrey;  // its colour, the same on all three channels
};

extern TankShape tankShape;
