Demo-Modell (Platzhalter): einfache Fahrleitung
