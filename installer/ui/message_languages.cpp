#include "installer/ui/message_languages.h"

#include "installer/ui/message_dialog.h"

namespace ostravel::ui {

namespace {

const MessageLanguage kRows[11] = {
    // 1 English
    {{u"Warning", u"Error", u"Information", u"Confirm"},
     {u"Yes", u"No", u"OK", u"Cancel", u"Abort", u"Retry", u"Ignore", u"All", u"No to all", u"Yes to all", u"Help"}},
    // 2 Russian
    {{u"Предупреждение", u"Ошибка", u"Информация", u"Подтверждение"},
     {u"Да", u"Нет", u"OK", u"Отмена", u"Стоп", u"Повтор", u"Пропустить", u"Все", u"Нет для всех", u"Да для всех",
      u"Справка"}},
    // 3 Portuguese
    {{u"Aviso", u"Erro", u"Informação", u"Confirmação"},
     {u"Sim", u"Não", u"OK", u"Cancela", u"Aborta", u"Tenta Novamente", u"Ignora", u"Tudo", u"Não para Tudo",
      u"Sim para Tudo", u"Ajuda"}},
    // 4 Turkish
    {{u"Uyarı", u"Hata", u"Bilgi", u"Doğrulama"},
     {u"Evet", u"Hayır", u"TAMAM", u"Vazgeç", u"Durdur", u"Tekrar", u"İptal", u"Hepsi", u"Hepsine hayır",
      u"Hepsine evet", u"Yardım"}},
    // 5 German
    {{u"Warnung", u"Fehler", u"Information", u"Bestätigung"},
     {u"Ja", u"Nein", u"OK", u"Abbrechen", u"Abbrechen", u"Wiederholen", u"Ignorieren", u"Alle", u"Nein zu allen",
      u"Ja zu allen", u"Hilfe"}},
    // 6 Dutch
    {{u"Waarschuwing", u"Fout", u"Informatie", u"Bevestiging"},
     {u"Ja", u"Nee", u"OK", u"Annuleren", u"Afbreken", u"Herhalen", u"Negeren", u"Alles", u"Nee op alles",
      u"Ja op alles", u"?"}},
    // 7 French
    {{u"Avertissement", u"Erreur", u"Information", u"Confirmation"},
     {u"Oui", u"Non", u"OK", u"Annuler", u"Abandonner", u"Réessayer", u"Ignorer", u"Tout", u"Non pour tous",
      u"Oui pour tous", u"Aide"}},
    // 8 Greek
    {{u"Προσοχή!", u"Λάθος", u"Πληροφορία", u"Επιβεβαίωση"},
     {u"Ναι", u"Όχι", u"Εντάξει", u"Άκυρο", u"Ακύρωση", u"Προσπάθεια", u"Αγνόηση", u"Όλα", u"Όχι σε όλα",
      u"Ναι σε όλα", u"Βοήθεια"}},
    // 9 Spanish
    {{u"Precaución", u"Error", u"Información", u"Confirmación"},
     {u"Si", u"No", u"OK", u"Cancelar", u"Abortar", u"Reintentar", u"Ignorar", u"Todo", u"No a todo", u"Si a todo",
      u"Ayuda"}},
    // 10 Slovenian
    {{u"Opozorilo", u"Napaka", u"Informacija", u"Potrdi"},
     {u"Da", u"Ne", u"Vredu", u"Razveljavi", u"Prekini", u"Ponovi", u"Prezri", u"Vse", u"Vsem ne", u"Da vsem",
      u"Pomoč"}},
    // 11 Hungarian
    {{u"Figyelmeztetés", u"Hiba", u"Információ", u"Jóváhagyás"},
     {u"&Igen", u"&Nem", u"OK", u"&Mégsem", u"&Megszakít", u"Ú&jra", u"&Kihagy", u"&Mind", u"&Egyiket sem",
      u"&Mindet", u"&Segítség"}},
};

// Language 0: the program's own copy of the English row.
const MessageLanguage kProgramLanguage = kRows[0];

}  // namespace

const MessageLanguage& MessageLanguageFor(int language) {
  if (language == 0) return kProgramLanguage;
  if (language >= 1 && language <= 11) return kRows[language - 1];
  return kRows[0];
}

const char* MessageButtonName(int index) {
  static const char* const kNames[kMessageButtonCount] = {"Yes",   "No",  "OK",      "Cancel",   "Abort", "Retry",
                                                          "Ignore", "All", "NoToAll", "YesToAll", "Help"};
  return kNames[index];
}

int MessageButtonResult(int index) {
  static const int kResults[kMessageButtonCount] = {mrYes,    mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
                                                    mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
  return kResults[index];
}

}  // namespace ostravel::ui
