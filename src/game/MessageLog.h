#pragma once

#include <string>
#include <vector>

// Short texts shown on screen for a few seconds, oldest first.
class MessageLog {
public:
    explicit MessageLog(double now);
    static MessageLog& instance();

    // Adds a text, or keeps an identical one on screen longer.
    void show(const std::string& text, double now);
    // Drops expired messages from the front of the list only.
    void purgeExpired(double now);
    void draw(double now);

    const std::vector<std::string>& getTexts() const { return texts; }
    const std::vector<double>& getTimes() const { return times; }

    static constexpr double messageLifetime = 3.0;
    static constexpr size_t maxMessages = 8;

private:
    friend void startProcessLibraries(const std::string& mediaPrefix);
    friend void stopProcessLibraries();
    static MessageLog* current;

    std::vector<std::string> texts;
    std::vector<double> times;  // clock value when each text was last shown
};

void showMessage(std::string text);
void drawMessages();
