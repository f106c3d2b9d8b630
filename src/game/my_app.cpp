#include "game/my_app.h"

#include "game/bindings.h"
#include "game/replay_session.h"

// The recording session and the bindings are plain memory, not the collector's: they hold no
// collected object.
c_MyApp::c_MyApp()
    : m_replay(std::make_unique<ReplaySession>()),
      m_bindings(std::make_unique<controls::Bindings>()) {}

c_MyApp::~c_MyApp() = default;

c_MyApp* c_MyApp::m_new() {
    c_App::m_new();
    gc_assign(m_music, (new c_ZuPlayer)->m_new());
    return this;
}

// Every object and array field, concern by concern as the class lists them.
void c_MyApp::mark() {
    gc_mark_q(m_music);
    gc_mark_q(m_img);
    gc_mark_q(m_imgInfo);
    gc_mark_q(m_drawList);
    gc_mark_q(m_pad);
    gc_mark_q(m_touchDown);
    gc_mark_q(m_touchX);
    gc_mark_q(m_touchY);
    gc_mark_q(m_ship);
    gc_mark_q(m_obj);
    gc_mark_q(m_particles);
    gc_mark_q(m_stars);
    gc_mark_q(m_settings);
    gc_mark_q(m_badges);
    gc_mark_q(m_scores);
    gc_mark_q(m_badgeId);
    gc_mark_q(m_badgeTimer);
    gc_mark_q(m_chanMap);
    gc_mark_q(m_sfx);
}
