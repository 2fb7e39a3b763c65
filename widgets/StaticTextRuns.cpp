#include "widgets/StaticTextRuns.h"

#include "content/ResourceManager.h"
#include "controls/MouseEvents.h"
#include "core/ActivePlayerNameString.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/PermanentVariable.h"
#include "core/XmlUtil.h"
#include "shell/CheckText.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"

namespace {

// Removes the attribute from the map and gives its value; false when it is not there.
bool Take(TextAttributes& attributes, const std::string& name, std::string& value) {
    const auto i = attributes.find(name);
    if (i == attributes.end()) return false;
    value = i->second;
    attributes.erase(i);
    return true;
}

// A run's rectangle: x from left, y from bottom, w wide and h high.
void AddCorners(std::vector<FPoint>& points, int left, int bottom, int w, int h) {
    points.push_back(FPoint(left, bottom));
    points.push_back(FPoint(left + w, bottom));
    points.push_back(FPoint(left, bottom + h));
    points.push_back(FPoint(left + w, bottom + h));
}

bool IsOver(const Point& mouse, int left, int bottom, int w, int h) {
    return left <= mouse.x && mouse.x < left + w && bottom <= mouse.y && mouse.y < bottom + h;
}

}  // namespace

TextAttributes StaticTextSpanOrLink::ParseAttributes(const std::string& attributes) {
    TextAttributes map;
    const std::size_t n = attributes.size();
    std::size_t i = 0;
    while (i < n) {
        // One blank before each name, never two.
        if (attributes[i] != ' ' || (i + 1 < n && attributes[i + 1] == ' ')) {
            CHECK_TEXT(false, "*i == ' '");
            return map;
        }
        ++i;
        if (i == n) {
            CHECK_TEXT(false, "i != attributes.end()");
            return map;
        }
        if (!XmlUtil::IsFirstNameLetter(static_cast<unsigned char>(attributes[i]))) {
            CHECK_TEXT(false, "XmlUtil::IsFirstNameLetter(*i)");
            return map;
        }
        const std::size_t nameStart = i;
        ++i;
        while (i < n && XmlUtil::IsSecondNameLetter(static_cast<unsigned char>(attributes[i]))) ++i;
        const std::string name = attributes.substr(nameStart, i - nameStart);
        if (i == n) {
            CHECK_TEXT(false, "i != attributes.end()");
            return map;
        }
        if (attributes[i] != '=') {
            CHECK_TEXT(false, "*i == '='");
            return map;
        }
        ++i;
        if (i == n || (attributes[i] != '\'' && attributes[i] != '"')) {
            CHECK_TEXT(false, "i != attributes.end() && (*i == '\\'' || *i == '\"')");
            return map;
        }
        const char quote = attributes[i];
        ++i;
        const std::size_t valueEnd = attributes.find(quote, i);
        if (valueEnd == std::string::npos) {
            CHECK_TEXT(false, "i != attributes.end()");
            return map;
        }
        if (map.find(name) != map.end()) {
            CHECK_TEXT(false, "map.find(attributeName) == map.end()");
            return map;
        }
        map[name] = attributes.substr(i, valueEnd - i);
        i = valueEnd + 1;
    }
    return map;
}

bool StaticTextSpanOrLink::IsRunText(const std::string& text, bool report) {
    if (text.empty()) {
        if (report) CHECK_TEXT(false, "text.length() > 0");
        return false;
    }
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            if (report) CHECK_TEXT(false, "c >= 32");
            return false;
        }
    }
    return true;
}

// Span.

StaticTextSpan::StaticTextSpan(const ObjectSmartPointer<TextFormat>& format)
    : _format(format), _hasFont(Render::fonts.DoesFontExist(format->GetFontName())) {}

StaticTextSpan::StaticTextSpan(const std::string& text, const std::string& attributes,
                               const ObjectSmartPointer<TextFormat>& format)
    : _format(format) {
    TextAttributes map = ParseAttributes(attributes);
    std::string value;
    if (Take(map, "fontName", value)) _format = _format->CopyWithFontName(value);
    if (Take(map, "fontScale", value)) _format = _format->CopyWithFontScale(Float::Parse(value));
    if (Take(map, "dy", value)) _format = _format->CopyWithDy(Int::Parse(value));
    if (Take(map, "color", value)) _color = Color::FromString(value);
    if (!map.empty()) CHECK_TEXT(false, "false");
    // An unknown font was reported where the format was made.
    _hasFont = Render::fonts.DoesFontExist(_format->GetFontName());
    AddPieces(text);
}

ObjectSmartPointer<StaticTextSpan> StaticTextSpan::Literal(const std::string& text,
                                                           const ObjectSmartPointer<TextFormat>& format) {
    ObjectSmartPointer<StaticTextSpan> span(new StaticTextSpan(format));
    span->_pieces.push_back(ObjectSmartPointer<ReadVariable<std::string>>(new SimpleVariable<std::string>(text)));
    return span;
}

void StaticTextSpan::AddPieces(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '#') {
            const std::size_t endPos = text.find('#', pos + 1);
            if (endPos == std::string::npos) {
                // A lone '#' leaves out the rest of the text.
                CHECK_TEXT(false, "endPos != std::string::npos");
                return;
            }
            AddReference(text.substr(pos + 1, endPos - pos - 1));
            pos = endPos + 1;
            continue;
        }
        const std::size_t hashPos = text.find('#', pos);
        const std::size_t end = hashPos == std::string::npos ? text.size() : hashPos;
        _pieces.push_back(ObjectSmartPointer<ReadVariable<std::string>>(
            new SimpleVariable<std::string>(text.substr(pos, end - pos))));
        pos = end;
    }
}

void StaticTextSpan::AddReference(const std::string& name) {
    if (name == "active-player-name") {
        _pieces.push_back(ObjectSmartPointer<ReadVariable<std::string>>(new ActivePlayerNameString()));
        return;
    }
    const std::size_t colonPos = name.find(':');
    if (colonPos == std::string::npos) {
        CHECK_TEXT(false, "colonPos != std::string::npos");
        return;
    }
    const std::string kind = name.substr(0, colonPos);
    std::string variable = name.substr(colonPos + 1);
    const std::size_t slashPos = variable.find('/');
    const bool hasDefault = slashPos != std::string::npos;
    const std::string defaultValue = hasDefault ? variable.substr(slashPos + 1) : std::string();
    if (hasDefault) variable.erase(slashPos);
    if (kind == "local-int") {
        ObjectSmartPointer<Variable<int>> value;
        if (hasDefault) {
            value = ObjectSmartPointer<Variable<int>>(
                new PermanentVariableOrDef<Local, int>(variable, Int::Parse(defaultValue)));
        } else {
            value = ObjectSmartPointer<Variable<int>>(new PermanentVariable<Local, int>(variable));
        }
        _pieces.push_back(ObjectSmartPointer<ReadVariable<std::string>>(new IntImageVariable(value)));
    } else if (kind == "local-string") {
        if (hasDefault) {
            _pieces.push_back(ObjectSmartPointer<ReadVariable<std::string>>(
                new PermanentVariableOrDef<Local, std::string>(variable, defaultValue)));
        } else {
            _pieces.push_back(
                ObjectSmartPointer<ReadVariable<std::string>>(new PermanentVariable<Local, std::string>(variable)));
        }
    } else {
        CHECK_TEXT(false, "false");
    }
}

void StaticTextSpan::OnMouseDown(ObjectWeakPointer<MouseDownEvent>) {}

void StaticTextSpan::OnMouseUp(ObjectWeakPointer<MouseUpEvent>) {}

void StaticTextSpan::PrepareDraw(int& width) {
    Assert(!_isDrawReady);
    bool isChanged = false;
    for (const ObjectSmartPointer<ReadVariable<std::string>>& piece : _pieces) {
        // Every piece is asked, so that each one's change is taken now.
        if (piece->IsChanged()) isChanged = true;
    }
    if (isChanged) {
        _text.clear();
        for (const ObjectSmartPointer<ReadVariable<std::string>>& piece : _pieces) _text += piece->GetValue();
        _width = _hasFont ? static_cast<int>(static_cast<float>(Render::fonts.GetStringWidth(_text, _format->GetFontName())) *
                                             _format->GetFontScale())
                          : 0;
    }
    width += _width;
    _isDrawReady = true;
}

void StaticTextSpan::Draw(Point& pen) {
    Assert(_isDrawReady);
    _isDrawReady = false;
    if (_hasFont && !_text.empty()) {
        Render::fonts.SetFont(_format->GetFontName());
        Render::device.PushColor(_color);
        Render::fonts.DrawString(FPoint(pen.x, pen.y + _format->GetDy()), _text, _format->GetFontScale(), 0, false);
        Render::device.PopColor();
    }
    pen.x += _width;
}

void StaticTextSpan::AddBoundingPoints(std::vector<FPoint>& points, Point& pen) {
    Assert(_isDrawReady);
    _isDrawReady = false;
    AddCorners(points, pen.x, pen.y + _format->GetDy(), _width, _format->GetHeight());
    pen.x += _width;
}

void StaticTextSpan::OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event, bool& isUnderMouse) {
    Assert(_isDrawReady);
    _isDrawReady = false;
    const int left = pen.x - _width;
    // The same rectangle as drawn and as reported by AddBoundingPoints.
    if (IsOver(event->GetMousePos(), left, pen.y + _format->GetDy(), _width, _format->GetHeight())) {
        isUnderMouse = true;
    }
    pen.x = left;
}

// Link.

StaticTextLink::StaticTextLink(const std::string& text, const std::string& attributes,
                               const ObjectSmartPointer<TextFormat>& format) {
    TextAttributes map = ParseAttributes(attributes);
    auto required = [&map](const char* name, const std::string& fallback) {
        std::string value;
        const bool found = Take(map, name, value);
        CHECK_TEXT(found, "i != map.end()");
        return found ? value : fallback;
    };
    ObjectSmartPointer<TextFormat> shifted = format;
    std::string value;
    if (Take(map, "yShift", value)) {
        _yShift = Int::Parse(value);
        shifted = shifted->CopyWithDy(_yShift);
    }
    // A link without a font name keeps the line's font.
    const std::string normalFontName = required("normalFontName", "");
    const std::string activeFontName = required("activeFontName", "");
    _receiver = required("receiver", "null");
    _message = required("message", "");
    _activeSound = required("activeSound", "null");
    _pressedSound = required("pressedSound", "null");
    if (!map.empty()) CHECK_TEXT(false, "false");
    const ObjectSmartPointer<TextFormat> normalFormat =
        normalFontName.empty() ? shifted : shifted->CopyWithFontName(normalFontName);
    const ObjectSmartPointer<TextFormat> activeFormat =
        activeFontName.empty() ? shifted : shifted->CopyWithFontName(activeFontName);
    _normalSpan = ObjectSmartPointer<StaticTextSpan>(new StaticTextSpan(text, "", normalFormat));
    _activeSpan = ObjectSmartPointer<StaticTextSpan>(new StaticTextSpan(text, "", activeFormat));
    _currentSpan = _normalSpan;
}

void StaticTextLink::PrepareDraw(int& width) { _currentSpan->PrepareDraw(width); }

void StaticTextLink::Draw(Point& pen) { _currentSpan->Draw(pen); }

void StaticTextLink::AddBoundingPoints(std::vector<FPoint>& points, Point& pen) {
    _currentSpan->AddBoundingPoints(points, pen);
}

void StaticTextLink::OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event, bool& isUnderMouse) {
    const ObjectSmartPointer<StaticTextSpan> previous = _currentSpan;
    bool isUnder = false;
    _currentSpan->OnMouseMove(pen, event, isUnder);
    if (isUnder) isUnderMouse = true;
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
            if (isUnder) {
                event->SetPressedCursor();
                _currentSpan = _activeSpan;
            } else {
                _currentSpan = _normalSpan;
            }
        } else {
            if (!event->IsMouseHandled() && isUnder) event->SetMouseHandled();
            _currentSpan = _normalSpan;
        }
    } else {
        Assert(!_isMouseCapturedByThis);
        _isMouseCapturedByThis = false;
        if (!event->IsMouseHandled() && isUnder) {
            event->SetMouseHandled();
            event->SetActiveCursor();
            _currentSpan = _activeSpan;
        } else {
            _currentSpan = _normalSpan;
        }
    }
    if (previous.Get() == _normalSpan.Get() && IsActive()) {
        Sound::soundSystem.PlaySample(_isMouseCapturedByThis ? _pressedSound : _activeSound);
    }
}

void StaticTextLink::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    Assert(!_isMouseCapturedByThis);
    if (!event->IsMouseCaptured() && IsActive()) {
        event->CaptureMouse();
        _isMouseCapturedByThis = true;
        Sound::soundSystem.PlaySample(_pressedSound);
    }
}

void StaticTextLink::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    const bool releases = event->IsMouseCaptured() && _isMouseCapturedByThis;
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
    _isMouseCapturedByThis = false;
    if (releases && IsActive()) SendMessage(_receiver, _message);
}

// Image.

StaticTextImage::StaticTextImage(const std::string& text, const std::string& attributes,
                                 const ObjectSmartPointer<TextFormat>& format)
    : _format(format) {
    TextAttributes map = ParseAttributes(attributes);
    std::string value;
    if (Take(map, "dy", value)) _format = _format->CopyWithDy(Int::Parse(value));
    _texture = ResourceManager::GetTextureOrFrame(text);
    if (_texture != NULL) {
        const Rect rectangle = _texture->GetRectangle();
        _width = rectangle.width;
        _height = rectangle.height;
    }
}

void StaticTextImage::OnMouseDown(ObjectWeakPointer<MouseDownEvent>) {}

void StaticTextImage::OnMouseUp(ObjectWeakPointer<MouseUpEvent>) {}

void StaticTextImage::PrepareDraw(int& width) { width += _width; }

void StaticTextImage::Draw(Point& pen) {
    if (_texture != NULL) _texture->Draw(Point(pen.x, pen.y + _format->GetDy()));
    pen.x += _width;
}

void StaticTextImage::AddBoundingPoints(std::vector<FPoint>& points, Point& pen) {
    AddCorners(points, pen.x, pen.y + _format->GetDy(), _width, _height);
    pen.x += _width;
}

void StaticTextImage::OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event, bool& isUnderMouse) {
    const int left = pen.x - _width;
    if (IsOver(event->GetMousePos(), left, pen.y + _format->GetDy(), _width, _height)) isUnderMouse = true;
    pen.x = left;
}
