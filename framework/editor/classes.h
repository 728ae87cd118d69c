#pragma once
// The editor's Cocoa class names. Class names are process-wide on the platform, so every
// model's bundle compiles the framework editor under its own product's names: the build
// defines KELVO_EDITOR_PRODUCT as a token (KelvoTolvar), and KelvoView is then KelvoTolvarView,
// KelvoDial KelvoTolvarDial, KelvoButton KelvoTolvarButton and KelvoViewFactory
// KelvoTolvarViewFactory, as C++ classes and as the names in the class registry.

#ifndef KELVO_EDITOR_PRODUCT
#error "KELVO_EDITOR_PRODUCT must name the product the editor is built for (KelvoTolvar)"
#endif

#define KELVO_JOIN_(a, b) a##b
#define KELVO_JOIN(a, b) KELVO_JOIN_(a, b)
#define KELVO_TEXT_(a) #a
#define KELVO_TEXT(a) KELVO_TEXT_(a)

#define KelvoView KELVO_JOIN(KELVO_EDITOR_PRODUCT, View)
#define KelvoDial KELVO_JOIN(KELVO_EDITOR_PRODUCT, Dial)
#define KelvoButton KELVO_JOIN(KELVO_EDITOR_PRODUCT, Button)
#define KelvoViewFactory KELVO_JOIN(KELVO_EDITOR_PRODUCT, ViewFactory)

// The registry names: "KelvoTolvarView" and so on.
#define KELVO_CLASS_NAME(cls) KELVO_TEXT(cls)
