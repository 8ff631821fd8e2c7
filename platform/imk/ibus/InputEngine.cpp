// The IBus engine type: a GObject shell whose instance holds one EngineSession, made with it and
// destroyed with it; every virtual function forwards to the session.
#include <ibus.h>

#include "platform/imk/ibus/EngineHost.h"
#include "platform/imk/ibus/EngineSession.h"

namespace platform::imk::ibus {
namespace {

EngineHost* g_host = nullptr;

struct InputEngine {
    IBusEngine parent;
    EngineSession* session;  // owned
};

struct InputEngineClass {
    IBusEngineClass parent;
};

G_DEFINE_TYPE(InputEngine, input_engine, IBUS_TYPE_ENGINE)

EngineSession& session(IBusEngine* engine) {
    return *reinterpret_cast<InputEngine*>(engine)->session;
}

void input_engine_init(InputEngine* self) {
    self->session = new EngineSession(&self->parent, g_host);
}

void input_engine_destroy(IBusObject* object) {
    auto* self = reinterpret_cast<InputEngine*>(object);
    delete self->session;
    self->session = nullptr;
    IBUS_OBJECT_CLASS(input_engine_parent_class)->destroy(object);
}

gboolean processKeyEvent(IBusEngine* engine, guint keyval, guint keycode, guint state) {
    return session(engine).processKey(keyval, keycode, state);
}
void focusIn(IBusEngine* engine) {
    session(engine).focusIn();
}
void focusOut(IBusEngine* engine) {
    session(engine).focusOut();
}
void reset(IBusEngine* engine) {
    session(engine).reset();
}
void enable(IBusEngine* engine) {
    session(engine).focusIn();
}
void disable(IBusEngine* engine) {
    session(engine).disable();
}
void setCursorLocation(IBusEngine* engine, gint x, gint y, gint w, gint h) {
    session(engine).setCursorLocation(x, y, w, h);
}
void setContentType(IBusEngine* engine, guint purpose, guint hints) {
    session(engine).setContentType(purpose, hints);
}
void propertyActivate(IBusEngine* engine, const gchar* name, guint state) {
    session(engine).propertyActivate(name, state);
}
void candidateClicked(IBusEngine* engine, guint index, guint button, guint state) {
    session(engine).candidateClicked(index, button, state);
}

void input_engine_class_init(InputEngineClass* klass) {
    IBUS_OBJECT_CLASS(klass)->destroy = input_engine_destroy;
    IBusEngineClass* engine = IBUS_ENGINE_CLASS(klass);
    engine->process_key_event = processKeyEvent;
    engine->focus_in = focusIn;
    engine->focus_out = focusOut;
    engine->reset = reset;
    engine->enable = enable;
    engine->disable = disable;
    engine->set_cursor_location = setCursorLocation;
    engine->set_content_type = setContentType;
    engine->property_activate = propertyActivate;
    engine->candidate_clicked = candidateClicked;
}

}  // namespace

void setEngineHost(EngineHost* host) {
    g_host = host;
}

GType inputEngineType() {
    return input_engine_get_type();
}

}  // namespace platform::imk::ibus
