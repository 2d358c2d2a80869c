Demo-Modell (Platzhalter): Prellbock rot-weiss
