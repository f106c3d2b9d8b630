// Shapes as signed distance functions in drawing units: negative inside, positive outside,
// with a bounding box that holds every point closer than zero.
#pragma once

#include <functional>
#include <vector>

#include "assetgen/geometry.h"

struct Shape {
    std::function<float(V2)> sdf;
    Box box;

    float operator()(V2 p) const { return sdf(p); }
};

Shape Circle(V2 centre, float radius);
Shape Ellipse(V2 centre, float rx, float ry);
Shape Ring(V2 centre, float radius, float width);
// A line segment with round ends.
Shape Capsule(V2 a, V2 b, float radius);
// A closed polygon (any winding, may be concave).
Shape Polygon(std::vector<V2> points);
Shape RoundBox(V2 centre, V2 half, float cornerRadius);
// The part of a ring between two headings (degrees, 0 up, clockwise), with round ends.
Shape Arc(V2 centre, float radius, float from, float to, float width);
// A regular star or polygon: `points` tips at radius `outer` alternating with `inner`;
// inner == outer * cos(180 / points) gives a plain polygon.
Shape Star(V2 centre, int points, float outer, float inner, float rotation);

Shape Union(Shape a, Shape b);
Shape Union(std::vector<Shape> shapes);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
// Grows (positive r) or shrinks the shape; growing rounds its convex corners.
Shape Inflate(Shape s, float r);
// A band of the given width along the shape's edge.
Shape Outline(Shape s, float width);
Shape Rotated(Shape s, V2 about, float degrees);
Shape Moved(Shape s, V2 by);
// Uniform scale about a point.
Shape Scaled(Shape s, V2 about, float k);
