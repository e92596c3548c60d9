#include "game/MessageLog.h"

#include <cassert>

#include <GL/gl.h>

#include "game/BitmapText.h"
#include "game/GameClock.h"

MessageLog* MessageLog::current = nullptr;

MessageLog::MessageLog(double now) : texts{"test output"}, times{now} {}

MessageLog& MessageLog::instance() {
    assert(current && "startProcessLibraries creates the message list");
    return *current;
}

void MessageLog::show(const std::string& text, double now) {
    bool alreadyShown = false;
    size_t oldest = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text) {
            times[i] = now;
            alreadyShown = true;
        }
        if (times[i] < times[oldest]) oldest = i;
    }
    if (alreadyShown) return;
    texts.push_back(text);
    times.push_back(now);
    if (texts.size() > maxMessages) {
        texts.erase(texts.begin() + oldest);
        times.erase(times.begin() + oldest);
    }
}

void MessageLog::purgeExpired(double now) {
    while (!texts.empty() && now - times.front() > messageLifetime) {
        texts.erase(texts.begin());
        times.erase(times.begin());
    }
}

void MessageLog::draw(double now) {
    if (texts.empty()) return;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    // Source factor first: a fresh message (alpha 0) is opaque and fades out over its lifetime.
    glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    glPushMatrix();
    glLoadIdentity();
    purgeExpired(now);
    for (size_t i = 0; i < texts.size(); ++i) {
        glColor4f(1, 1, 1, static_cast<float>((now - times[i]) / messageLifetime));
        glRasterPos3f(-6.0f, 6.0f - 0.3f * i, -10.0f);
        drawBitmapText(texts[i]);
    }
    // Mesa may hold bitmaps back and draw them later under whatever blending is on by then.
    glFlush();
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
}

void showMessage(std::string text) { MessageLog::instance().show(text, GameClock::now()); }

void drawMessages() { MessageLog::instance().draw(GameClock::now()); }
