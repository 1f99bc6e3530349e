// All mutable state of the program: three plain records, one instance each,
// living for the whole process. Only the GLUT thread touches them, one
// callback at a time, so there is no locking.
#pragma once

// Kinematic state of the tank. Every field is a 32-bit float; updates are
// computed in double precision and rounded when stored.
struct TankModel {
    float x;            // translation of the tank along world X
    float y;            // translation of the tank along world Y
    float speed;        // world units per tick, positive forwards
    float heading;      // yaw about +Z in degrees, 0 faces +Y
    float wheelAngle;   // steering of the front wheels, degrees
    float turretAngle;  // turret yaw relative to the hull, degrees
    float cannonAngle;  // cannon elevation, degrees
};

// Keys currently held down; each is true from its press to its release.
struct KeyState {
    bool keyQ;      // raise the cannon
    bool keyA;      // lower the cannon
    bool keyZ;      // turret counter-clockwise
    bool keyX;      // turret clockwise
    bool keyUp;     // accelerate
    bool keyDown;   // brake, then reverse
    bool keyLeft;   // steer left
    bool keyRight;  // steer right
};

// The fixed viewpoint, handed to the camera look-at every frame.
struct Camera {
    float eye[3];
    float centre[3];
    float up[3];
};

// Run and view settings.
struct AppState {
    int tickMillis;  // simulation timer period in milliseconds
    KeyState keys;
    Camera camera;
    float fieldOfView;  // vertical field of view of the perspective, degrees
    bool debug;         // console trace on
    bool orthographic;  // orthographic projection, else perspective
};

extern TankModel tankModel;
extern AppState appState;

// Puts the tank back at the origin, at rest, with everything straight.
// Leaves the held keys and the view settings alone.
void resetModel();

// Start values of the application state, the model included; needs no GL.
void initState();
