Demo-Modell (Platzhalter): Oberleitung, Original der Installation
