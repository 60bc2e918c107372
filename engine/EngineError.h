#pragma once
// How the pipeline says where and why a task failed. Stages throw EngineError; the task runner
// catches it on the worker thread and turns its text into the task's ExceptionMsg.

#include <QString>

#include <exception>
#include <string>

namespace engine {

enum class Stage { Open, Decode, Filter, Encode, Write, Setup };

QString stageName(Stage stage);

class EngineError : public std::exception {
public:
    // `what` says what failed in the user's words, `file` names the file concerned, `avError`
    // (when non-zero) adds FFmpeg's own text for the code.
    EngineError(Stage stage, const QString& what, const QString& file, int avError = 0);

    const QString& message() const { return text_; }
    Stage stage() const { return stage_; }
    int avError() const { return avError_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    Stage stage_;
    int avError_;
    QString text_;
    std::string utf8_;
};

// Thrown when Stop ended the task; not an error and never reported.
class TaskStopped : public std::exception {
public:
    const char* what() const noexcept override { return "task stopped"; }
};

} // namespace engine
