#pragma once

namespace dorvanel {

// Qt draws some parts of the component's windows itself: the file dialogs, the context menu of
// a text box, the buttons of its standard boxes. They speak the language of the translation of
// Qt's own texts that the host installed. A host that installed none would see them in English
// beside the windows' Spanish, so while this object lives Qt's Spanish translation
// (qtbase_es.qm, from Qt's translations folder) stands in. Whether the host installed one is
// told by Qt's own "Cancel": a translation of Qt's texts into any language changes it. A host
// that installed a translation of the component's own texts (dorvanel_en.qm) keeps Qt's parts
// as it set them too. Where Qt's Spanish translation is not installed on the machine, the parts
// stay in Qt's English.
class SpanishStandardParts {
public:
    SpanishStandardParts();
    ~SpanishStandardParts();
    SpanishStandardParts(const SpanishStandardParts&) = delete;
    SpanishStandardParts& operator=(const SpanishStandardParts&) = delete;

private:
    bool installed_ = false;
};

}  // namespace dorvanel
