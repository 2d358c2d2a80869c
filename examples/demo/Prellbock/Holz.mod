Demo-Modell (Platzhalter): Prellbock aus Holzschwellen
