#include "framework/app.h"

#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "runtime/debugger.h"

c_App* kx_app__app = nullptr;
c_GameDelegate* kx_app__delegate = nullptr;
KxGame* kx_app__game = nullptr;
int kx_app__updateRate = 0;

namespace {

// What the graphics device's BeginRender asks for: a frame of the game, or the loading hook.
const int kRenderFrame = 1;
const int kRenderLoading = 2;

}  // namespace

c_App* c_App::m_new() {
    if (kx_app__app) kxError(String("App has already been created"));
    gc_assign(kx_app__app, this);
    gc_assign(kx_app__delegate, new c_GameDelegate);
    kx_app__game->SetDelegate(kx_app__delegate);
    return this;
}

int c_App::p_OnCreate() { return 0; }

int c_App::p_OnSuspend() { return 0; }

int c_App::p_OnResume() { return 0; }

int c_App::p_OnUpdate() { return 0; }

int c_App::p_OnRender() { return 0; }

int c_App::p_OnLoading() { return 0; }

int c_App::p_OnClose() { kx_app_EndApp(); }

int c_App::p_OnBack() { kx_app_EndApp(); }

void c_GameDelegate::StartGame() {
    gc_assign(m__graphics, new KxGraphics);
    kx_graphics_SetGraphicsDevice(m__graphics);
    kx_graphics_SetFont(nullptr, 32);
    gc_assign(m__audio, new KxAudio);
    kx_audio_SetAudioDevice(m__audio);
    gc_assign(m__input, (new c_InputDevice)->m_new());
    kx_input_SetInputDevice(m__input);
    kx_app__app->p_OnCreate();
}

// Audio pauses after the game has reacted to the suspension and resumes before it reacts.
void c_GameDelegate::SuspendGame() {
    kx_app__app->p_OnSuspend();
    m__audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    m__audio->Resume();
    kx_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    m__input->p_BeginUpdate();
    kx_app__app->p_OnUpdate();
    m__input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    const int mode = m__graphics->BeginRender();
    if (mode == kRenderFrame || mode == kRenderLoading) {
        kx_graphics_BeginRender();
        if (mode == kRenderFrame) {
            kx_app__app->p_OnRender();
        } else {
            kx_app__app->p_OnLoading();
        }
        kx_graphics_EndRender();
    }
    m__graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    m__input->p_KeyEvent(event, data);
    // Checked on every press, a repeated one too: the back and close keys always end the
    // program, whatever the input device made of the press.
    if (event != c_KxGameEvent::KeyDown) return;
    if (data == kx_input_KeyBack) kx_app__app->p_OnBack();
    if (data == kx_input_KeyClose) kx_app__app->p_OnClose();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
    m__input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
    m__input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m__input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m__graphics->DiscardGraphics(); }

void c_GameDelegate::mark() {
    gc_mark_q(m__graphics);
    gc_mark_q(m__audio);
    gc_mark_q(m__input);
}

int kx_app_SetUpdateRate(int rate) {
    kx_app__updateRate = rate;
    kx_app__game->SetUpdateRate(rate);
    return 0;
}

int kx_app_Millisecs() { return kx_app__game->Millisecs(); }

String kx_app_LoadState() { return kx_app__game->LoadState(); }

int kx_app_SaveState(String state) { return kx_app__game->SaveState(state); }

void kx_app_EndApp() { kxError(String()); }
