// The parsed form of a Lottie movie, limited to the subset our renderer draws (see
// docs/template-movies.md). Built once by ParseLottieMovie and then only read.
#pragma once

#include "player/LottieChanges.h"
#include "player/LottieValue.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace lumiset::lottie {

struct Transform {
    AnimatedVec anchor{Vec{0, 0}};
    AnimatedVec position{Vec{0, 0}};
    bool separatePosition = false;
    AnimatedVec positionX{Vec{0}};
    AnimatedVec positionY{Vec{0}};
    AnimatedVec scale{Vec{100, 100}};
    AnimatedVec rotation{Vec{0}};
    AnimatedVec opacity{Vec{100}};

    QTransform matrixAt(double frame) const;
    double opacityAt(double frame) const; // 0..1
};

// --- shape items (a shape layer's contents)

struct RectangleShape {
    AnimatedVec position, size, roundness;
    bool reversed = false;
};
struct EllipseShape {
    AnimatedVec position, size;
    bool reversed = false;
};
struct PolystarShape {
    bool star = true; // false: polygon
    AnimatedVec position, points, rotation, innerRadius, innerRoundness, outerRadius, outerRoundness;
    bool reversed = false;
};
struct PathShape {
    AnimatedShape path;
    bool reversed = false;
};

struct StrokeStyle {
    AnimatedVec width;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::MiterJoin;
    double miterLimit = 4;
    std::vector<AnimatedVec> dashes; // alternating dash and gap lengths
    std::optional<AnimatedVec> dashOffset;
};

struct GradientStyle {
    bool radial = false;
    int colorStops = 0;
    AnimatedVec stops; // colorStops × (offset, r, g, b), then (offset, alpha) pairs
    AnimatedVec start, end, highlightLength, highlightAngle;
};

struct FillPaint {
    AnimatedVec color, opacity;
    Qt::FillRule rule = Qt::WindingFill;
};
struct StrokePaint {
    AnimatedVec color, opacity;
    StrokeStyle style;
};
struct GradientPaint {
    GradientStyle gradient;
    AnimatedVec opacity;
    Qt::FillRule rule = Qt::WindingFill;
    std::optional<StrokeStyle> stroke; // set for a gradient stroke
};

struct ShapeItem;
struct ShapeGroup {
    std::vector<ShapeItem> items; // in Lottie order: the first item is drawn on top
    Transform transform;
};

struct ShapeItem {
    std::variant<ShapeGroup, RectangleShape, EllipseShape, PolystarShape, PathShape, FillPaint, StrokePaint,
                 GradientPaint>
        content;
};

// --- layers

struct Mask {
    enum class Mode { Add, Subtract, Intersect };
    Mode mode = Mode::Add;
    bool inverted = false;
    AnimatedShape path;
    AnimatedVec opacity{Vec{100}};
};

enum class LayerKind { Precomposition, Solid, Image, Null, Shape };
enum class MatteMode { None, Alpha, InvertedAlpha };

struct Layer {
    QString name;
    LayerKind kind = LayerKind::Null;
    int parent = -1; // position of the parent layer in the same composition
    double inPoint = 0, outPoint = 0, startTime = 0, timeStretch = 1;
    bool hidden = false;
    bool isMatteSource = false; // drawn only as the matte of another layer
    MatteMode matte = MatteMode::None;
    int matteLayer = -1; // position of the matte source in the same composition
    Transform transform;
    std::vector<Mask> masks;

    int precomposition = -1; // index into LottieMovie::precompositions
    int image = -1;          // index into LottieMovie::images
    double width = 0, height = 0;
    QColor solidColor;
    std::vector<ShapeItem> shapes;
    std::optional<AnimatedVec> timeRemap; // seconds
    // When its pixels relative to the layer change (which sub-layers show aside): its content and
    // masks, and for a precomposition its layers' content, transforms and opacities. In frames of
    // its composition; see MarkChanges.
    Changes contentChanges;
    // When its pixels in its composition change: its content, or its own, a parent's or its matte's
    // transform or opacity.
    Changes placementChanges;

    bool isVisibleAt(double frame) const { return frame >= inPoint && frame < outPoint; }
};

struct Composition {
    std::vector<Layer> layers; // the first layer is drawn on top
};

struct ImageAsset {
    QString id;
    double width = 0, height = 0; // the size it is drawn at, in composition units
    bool embedded = false;
    QString fileName; // external: path relative to the movie's folder ("u" + "p")
    QByteArray data;  // embedded: the encoded picture
};

struct LottieMovie {
    double width = 0, height = 0, frameRate = 25, inPoint = 0, outPoint = 0;
    Composition root;
    std::vector<std::unique_ptr<Composition>> precompositions;
    std::vector<ImageAsset> images;
    QStringList markers; // comments ("cm") of the markers, in order
};

// Sets Layer::contentChanges and Layer::placementChanges on every layer.
// @pre precompositions do not contain themselves.
void MarkChanges(LottieMovie& movie);

} // namespace lumiset::lottie
