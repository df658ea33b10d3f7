// When each layer's pixels change, found once when a movie is loaded, so that the renderer may keep
// the pixels of whatever does not change at the frame it draws.
#include "player/LottieModel.h"

#include <functional>

namespace lumiset::lottie {

namespace {

// Collects the change times of animated values, in the frames the values are evaluated at.
class ChangeCollector {
public:
    explicit ChangeCollector(Changes& out) : out_(out) {}

    void operator()(const AnimatedVec& value) const { value.forEachChange(Adder{out_}); }
    void operator()(const AnimatedShape& value) const { value.forEachChange(Adder{out_}); }
    void operator()(const Transform& t) const {
        for (const AnimatedVec* value :
             {&t.anchor, &t.position, &t.positionX, &t.positionY, &t.scale, &t.rotation, &t.opacity})
            (*this)(*value);
    }
    void operator()(const StrokeStyle& style) const {
        (*this)(style.width);
        if (style.dashOffset)
            (*this)(*style.dashOffset);
        for (const AnimatedVec& dash : style.dashes)
            (*this)(dash);
    }
    void operator()(const GradientStyle& g) const {
        for (const AnimatedVec* value : {&g.stops, &g.start, &g.end, &g.highlightLength, &g.highlightAngle})
            (*this)(*value);
    }
    void operator()(const std::vector<ShapeItem>& items) const {
        for (const ShapeItem& item : items)
            std::visit(*this, item.content);
    }
    void operator()(const ShapeGroup& g) const {
        (*this)(g.transform);
        (*this)(g.items);
    }
    void operator()(const RectangleShape& r) const {
        for (const AnimatedVec* value : {&r.position, &r.size, &r.roundness})
            (*this)(*value);
    }
    void operator()(const EllipseShape& e) const {
        (*this)(e.position);
        (*this)(e.size);
    }
    void operator()(const PolystarShape& s) const {
        for (const AnimatedVec* value : {&s.position, &s.points, &s.rotation, &s.innerRadius,
                                         &s.innerRoundness, &s.outerRadius, &s.outerRoundness})
            (*this)(*value);
    }
    void operator()(const PathShape& p) const { (*this)(p.path); }
    void operator()(const FillPaint& f) const {
        (*this)(f.color);
        (*this)(f.opacity);
    }
    void operator()(const StrokePaint& s) const {
        (*this)(s.color);
        (*this)(s.opacity);
        (*this)(s.style);
    }
    void operator()(const GradientPaint& g) const {
        (*this)(g.gradient);
        (*this)(g.opacity);
        if (g.stroke)
            (*this)(*g.stroke);
    }

private:
    struct Adder {
        Changes& out;
        void operator()(double from, double to) const { out.add(from, to); }
    };
    Changes& out_;
};

// Changes of a layer's own content and masks, in frames of the layer (before its start time).
Changes OwnContentChanges(const Layer& layer) {
    Changes changes;
    const ChangeCollector collect(changes);
    for (const Mask& mask : layer.masks) {
        collect(mask.path);
        collect(mask.opacity);
    }
    if (layer.kind == LayerKind::Shape)
        collect(layer.shapes);
    return changes;
}

} // namespace

void MarkChanges(LottieMovie& movie) {
    // Everything that changes in a precomposition, in its own frames; found once however often used.
    std::vector<std::optional<Changes>> inside(movie.precompositions.size());
    std::function<void(Composition&)> mark;
    const auto precompositionChanges = [&](int index) -> const Changes& {
        if (!inside[index]) {
            Composition& inner = *movie.precompositions[index];
            mark(inner);
            Changes all;
            for (const Layer& layer : inner.layers) {
                all.add(layer.placementChanges);
                all.add(layer.inPoint, layer.inPoint); // appearing and disappearing change the look too
                all.add(layer.outPoint, layer.outPoint);
            }
            all.finish();
            inside[index] = std::move(all);
        }
        return *inside[index];
    };
    mark = [&](Composition& composition) {
        auto& layers = composition.layers;
        for (Layer& layer : layers) {
            Changes content;
            content.add(OwnContentChanges(layer), 1, layer.startTime);
            if (layer.kind == LayerKind::Precomposition) {
                const Changes& inner = precompositionChanges(layer.precomposition);
                if (!layer.timeRemap) {
                    // Its frame f shows the precomposition's frame (f - start) / stretch.
                    content.add(inner, layer.timeStretch, layer.startTime);
                } else if (layer.timeRemap->isAnimated() && !inner.never()) {
                    content.addAlways(); // the remapped time runs through whatever changes inside
                }
            }
            content.finish();
            layer.contentChanges = std::move(content);
        }
        // A layer moves when it or a parent moves (parents were checked for loops when parsing).
        std::vector<Changes> moves(layers.size());
        for (size_t i = 0; i < layers.size(); ++i) {
            for (int p = int(i); p >= 0; p = layers[p].parent) {
                Changes own;
                ChangeCollector{own}(layers[p].transform);
                moves[i].add(own, 1, layers[p].startTime);
            }
        }
        for (size_t i = 0; i < layers.size(); ++i) {
            Changes placement;
            placement.add(layers[i].contentChanges);
            placement.add(moves[i]);
            if (const int matte = layers[i].matteLayer; matte >= 0) {
                placement.add(layers[matte].contentChanges);
                placement.add(moves[matte]);
            }
            placement.finish();
            layers[i].placementChanges = std::move(placement);
        }
    };
    mark(movie.root);
    for (size_t index = 0; index < movie.precompositions.size(); ++index)
        precompositionChanges(int(index));
}

} // namespace lumiset::lottie
