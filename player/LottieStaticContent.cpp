// Which layers have content that never changes, so that the renderer may keep their pixels.
#include "player/LottieModel.h"

#include <functional>

namespace lumiset::lottie {

namespace {

bool IsStatic(const AnimatedVec& value) {
    return !value.isAnimated();
}

bool IsStatic(const Transform& t) {
    return IsStatic(t.anchor) && IsStatic(t.position) && IsStatic(t.positionX) && IsStatic(t.positionY) &&
           IsStatic(t.scale) && IsStatic(t.rotation) && IsStatic(t.opacity);
}

bool IsStatic(const StrokeStyle& style) {
    if (!IsStatic(style.width) || (style.dashOffset && !IsStatic(*style.dashOffset)))
        return false;
    return std::all_of(style.dashes.begin(), style.dashes.end(),
                       [](const AnimatedVec& d) { return IsStatic(d); });
}

bool IsStatic(const GradientStyle& g) {
    return IsStatic(g.stops) && IsStatic(g.start) && IsStatic(g.end) && IsStatic(g.highlightLength) &&
           IsStatic(g.highlightAngle);
}

bool IsStatic(const std::vector<ShapeItem>& items);

bool IsStatic(const ShapeItem& item) {
    struct Visitor {
        bool operator()(const ShapeGroup& g) const { return IsStatic(g.transform) && IsStatic(g.items); }
        bool operator()(const RectangleShape& r) const {
            return IsStatic(r.position) && IsStatic(r.size) && IsStatic(r.roundness);
        }
        bool operator()(const EllipseShape& e) const { return IsStatic(e.position) && IsStatic(e.size); }
        bool operator()(const PolystarShape& s) const {
            return IsStatic(s.position) && IsStatic(s.points) && IsStatic(s.rotation) &&
                   IsStatic(s.innerRadius) && IsStatic(s.innerRoundness) && IsStatic(s.outerRadius) &&
                   IsStatic(s.outerRoundness);
        }
        bool operator()(const PathShape& p) const { return !p.path.isAnimated(); }
        bool operator()(const FillPaint& f) const { return IsStatic(f.color) && IsStatic(f.opacity); }
        bool operator()(const StrokePaint& s) const {
            return IsStatic(s.color) && IsStatic(s.opacity) && IsStatic(s.style);
        }
        bool operator()(const GradientPaint& g) const {
            return IsStatic(g.gradient) && IsStatic(g.opacity) && (!g.stroke || IsStatic(*g.stroke));
        }
    };
    return std::visit(Visitor{}, item.content);
}

bool IsStatic(const std::vector<ShapeItem>& items) {
    return std::all_of(items.begin(), items.end(), [](const ShapeItem& item) { return IsStatic(item); });
}

bool MasksAreStatic(const Layer& layer) {
    return std::all_of(layer.masks.begin(), layer.masks.end(),
                       [](const Mask& m) { return !m.path.isAnimated() && IsStatic(m.opacity); });
}

} // namespace

void MarkStaticContent(LottieMovie& movie) {
    std::vector<int> precompositionStatic(movie.precompositions.size(), -1); // -1 not yet known
    std::function<void(Composition&)> mark;
    const auto contentStatic = [&](const Layer& layer) {
        switch (layer.kind) {
        case LayerKind::Shape:
            return IsStatic(layer.shapes);
        case LayerKind::Precomposition: {
            int& known = precompositionStatic[layer.precomposition];
            if (known < 0) {
                Composition& inner = *movie.precompositions[layer.precomposition];
                mark(inner);
                // Inner layers (parents and mattes included) must not move or fade either; only their
                // timing may show or hide them.
                known = std::all_of(inner.layers.begin(), inner.layers.end(),
                                    [](const Layer& l) { return l.staticContent && IsStatic(l.transform); });
            }
            return known == 1;
        }
        case LayerKind::Image:
        case LayerKind::Solid:
        case LayerKind::Null:
            return true;
        }
        return false;
    };
    mark = [&](Composition& composition) {
        for (Layer& layer : composition.layers)
            layer.staticContent = contentStatic(layer) && MasksAreStatic(layer);
    };
    mark(movie.root);
    for (auto& composition : movie.precompositions)
        mark(*composition);
}

} // namespace lumiset::lottie
