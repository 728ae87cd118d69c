#pragma once
// Pixels the bitmap device keeps from one draw to the next identical one. Editors redraw the
// same photographed knobs and the same shadows every frame, at unchanged sizes and places: a
// filtered reduction of a large photograph or a blurred shadow per knob and frame would cost
// most of the frame, a copy of the kept pixels costs little. The least recently used pixels
// leave first once a budget of bytes is full, so draws that change every frame cost memory
// only up to the budget. One per thread, like the drawing that uses it.

#include <cairo.h>

#include <cstddef>
#include <list>
#include <utility>

namespace cg {

template <typename Key> class KeptSurfaces {
public:
    explicit KeptSurfaces(std::size_t budget) : budget_(budget) {}
    KeptSurfaces(const KeptSurfaces&) = delete;
    KeptSurfaces& operator=(const KeptSurfaces&) = delete;
    ~KeptSurfaces() {
        for (Entry& entry : entries_) {
            release(entry);
        }
    }

    // The surface kept under the first key that same(key) accepts, or nullptr; valid until
    // the next keep.
    template <typename Same> cairo_surface_t* find(const Same& same) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (same(it->key)) {
                entries_.splice(entries_.begin(), entries_, it); // most recent first
                return entries_.front().surface;
            }
        }
        return nullptr;
    }

    // Keeps surface (adopting its reference) under key; keepAlive, when given, stays
    // referenced while it is kept (the image a key names, so that another image at the same
    // address never finds these pixels). Returns surface.
    cairo_surface_t* keep(Key key, cairo_surface_t* surface, cairo_surface_t* keepAlive = nullptr) {
        const std::size_t bytes =
            static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) *
            static_cast<std::size_t>(cairo_image_surface_get_height(surface));
        while (!entries_.empty() && used_ + bytes > budget_) {
            used_ -= entries_.back().bytes;
            release(entries_.back());
            entries_.pop_back();
        }
        if (keepAlive != nullptr) {
            cairo_surface_reference(keepAlive);
        }
        entries_.push_front({std::move(key), surface, keepAlive, bytes});
        used_ += bytes;
        return surface;
    }

private:
    struct Entry {
        Key key;
        cairo_surface_t* surface;
        cairo_surface_t* keepAlive;
        std::size_t bytes;
    };

    static void release(Entry& entry) {
        cairo_surface_destroy(entry.surface);
        if (entry.keepAlive != nullptr) {
            cairo_surface_destroy(entry.keepAlive);
        }
    }

    std::list<Entry> entries_;
    std::size_t budget_;
    std::size_t used_ = 0;
};

} // namespace cg
