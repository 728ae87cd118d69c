#pragma once
// The editor's Cocoa class names. Class names are process-wide on the platform, so every
// model's bundle compiles the editor under its own names: the build defines
// KELVO_EDITOR_CLASSES as the names' stem and KELVO_EDITOR_FACTORY as the view factory's name,
// both as tokens. The framework editor of Tolvar is KelvoTolvarView, KelvoTolvarDial,
// KelvoTolvarButton and KelvoTolvarViewFactory; the rack editor of Corvel KelvoRackCorvelView,
// KelvoRackCorvelDial, KelvoRackCorvelButton and KelvoRackCorvelFactory. The same names are
// the C++ classes and the names in the class registry.

#if !defined(KELVO_EDITOR_CLASSES) || !defined(KELVO_EDITOR_FACTORY)
#error "KELVO_EDITOR_CLASSES and KELVO_EDITOR_FACTORY name the editor's classes (KelvoTolvar)"
#endif

#define KELVO_JOIN_(a, b) a##b
#define KELVO_JOIN(a, b) KELVO_JOIN_(a, b)
#define KELVO_TEXT_(a) #a
#define KELVO_TEXT(a) KELVO_TEXT_(a)

#define KelvoView KELVO_JOIN(KELVO_EDITOR_CLASSES, View)
#define KelvoDial KELVO_JOIN(KELVO_EDITOR_CLASSES, Dial)
#define KelvoButton KELVO_JOIN(KELVO_EDITOR_CLASSES, Button)
#define KelvoViewFactory KELVO_EDITOR_FACTORY

// The registry names: "KelvoTolvarView" and so on.
#define KELVO_CLASS_NAME(cls) KELVO_TEXT(cls)
