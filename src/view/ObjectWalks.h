#pragma once

class CDC;
class World;

/// The mouse events that the view offers to the objects.
enum class MouseEvent { LeftDown, LeftUp, RightDown, RightUp, Move };

/// Draws the world's drawable objects into the surface with exactly the result of drawing every
/// one of them, the last added first: the plain objects (see ObjectIndex) whose shapes meet the
/// surface's clip, and every other drawable object, in that order. A surface that keeps a call
/// log is given every object, since its log shows the calls of shapes that draw nothing.
void DrawObjects(World& world, CDC& surface);

/// Offers the event to the world's interactable objects with exactly the result of offering it
/// to every one, the first added first, until one takes it: a left press goes to the plain
/// objects under the world's mouse position, a move and a left release to the plain objects
/// being dragged, and every event to each object of another class, in that order. True when
/// an object took the event.
bool OfferMouseEvent(World& world, MouseEvent event);

/// Ticks the world's updateable objects with exactly the result of ticking every one in order:
/// a plain object's tick does nothing, so only the others are ticked. True when any of them
/// changed something.
bool TickObjects(World& world);
